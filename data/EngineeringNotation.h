#pragma once
// Values shown and typed with SI prefix letters (1.5 k, 470 n).
#include <string>

std::string FormatEngineering(double value, int precision = 4);
double ParseEngineering(const std::string& text);
