#pragma once
// The preferences text: the application values that the settings store does not hold (page
// setup, voltage format, node and colour defaults, the ten preference blocks), one value per
// "name=value" line in a fixed order. The reader does not match names: it steps from one "="
// to the next, so the order is binding. It reads the current layout ("6") and the older ones
// ("5", "4", "3", "2", and the first layout whose first value is "T" or "F").
#include <string>
#include <string_view>

class ApplicationValues;

// Longest piece of a line the reader takes at once; a longer line arrives in pieces.
inline constexpr size_t kPreferencesPieceLength = 9999;

// The version "6" text built from the values (the form also stored inside documents).
std::string FormatPreferences(const ApplicationValues& values);

// The text as the reader holds it after reading a file's bytes: each line, or each piece of at
// most 9,999 characters of a longer one, without trailing white space and ending in "\r\n".
// "\r\n" in the file counts as one line end.
std::string PreferencesTextAsRead(std::string_view fileBytes);

// Reads the values from text in the form PreferencesTextAsRead gives, storing each as it is
// read. Returns false when the text ends early or a block lacks its begin or end marker; the
// values read before stay. A number outside its value's range leaves that value unchanged.
bool ParsePreferences(const std::string& text, ApplicationValues& values);
