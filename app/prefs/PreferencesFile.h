#pragma once
// The per-type preferences file "Talpref<code>.txt": where it is, reading it at start-up and
// writing it at program end, with the user's messages for failures.
#include <string>
#include <vector>

class ApplicationValues;
class MessageReporter;

// Largest file the reader takes in; a larger one counts as damaged.
inline constexpr long long kMaxPreferencesFileSize = 16 * 1024 * 1024;

// Folders that hold the "Talvern" folder of the preferences file: the user's data folder
// (written and read first), then the all-users ones (read only). `formerUserFolder` is where
// earlier releases wrote the file; it is read only while the user folder holds none.
struct PreferencesLocation {
    std::string userFolder;
    std::vector<std::string> allUsersFolders;
    std::string formerUserFolder;
};

// $XDG_DATA_HOME, then each of $XDG_DATA_DIRS; the former place is
// $XDG_DATA_HOME/Talvern/TalvernRLC.
PreferencesLocation StandardPreferencesLocation();
// "<folder>/Talvern/Talpref<code>.txt" in the first folder where it exists (the user folder,
// the former user folder, the all-users folders); empty if none.
std::string PreferencesPathForReading(const PreferencesLocation& location, int analyzerType);
// "<user folder>/Talvern/Talpref<code>.txt", creating the "Talvern" folder if it is missing.
std::string PreferencesPathForWriting(const PreferencesLocation& location, int analyzerType);

// Writes the preferences text with "\r\n" line ends, replacing the file only once it is
// complete. Reports "Error when opening preferences file for writing" or "Error in closing
// preferences file" and returns false on failure.
bool WritePreferencesFile(const std::string& path, const ApplicationValues& values,
                          MessageReporter& reporter);
// Reads and parses the file. A file that does not open changes nothing, silently. A damaged
// file (a read error, larger than kMaxPreferencesFileSize, a line longer than a reader's piece,
// or text that does not parse) is reported once ("Error when closing preferences file." or
// "Error reading preferences file."), changes no value and is kept as "<path>.bad". Returns
// true when the file was read and parsed.
bool ReadPreferencesFile(const std::string& path, ApplicationValues& values,
                         MessageReporter& reporter);
