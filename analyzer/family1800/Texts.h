#pragma once
// The 1800-series dialog's texts: its names in reports, its status labels and fixed log lines.

#include "analyzer/family1960/Texts.h"

namespace analyzer::family1800 {

const family1960::DialogTexts& Texts();

} // namespace analyzer::family1800
