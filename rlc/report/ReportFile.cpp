#include "rlc/report/ReportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "data/Prompter.h"

namespace {

constexpr char kNothingToReport[] = "There is nothing to report!";
constexpr char kDocumentNotFound[] = "Document not found";
constexpr char kErrorCreating[] = "Error creating the report file";
constexpr char kErrorWriting[] = "Error writing to file";

// The file a path names: the target of a symbolic link, so that the link survives.
std::string ResolvedTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            std::string target = resolved;
            std::free(resolved);
            return target;
        }
    }
    return path;
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string WriteReportFile(const std::string& path, const std::string& text)
{
    const std::string target = ResolvedTarget(path);
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return kErrorCreating;
    // A replaced report keeps its permissions.
    bool ok = !exists || S_ISDIR(info.st_mode) || ::fchmod(fd, info.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, text);
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return kErrorWriting;
    }
    return "";
}

bool CreateExcelXmlReport(const ReportRequest& request, Prompter& prompter)
{
    const auto fail = [&](const char* text) {
        prompter.Message(text, "Error", PromptButtons::Ok, PromptIcon::Error);
        return false;
    };
    if (!request.hasActiveDisplay)
        return fail(kNothingToReport);
    if (!request.document)
        return fail(kDocumentNotFound);
    const auto path = prompter.SaveFileName({"", "Excel XML Files (*.xml)|*.xml||", "xml", ""});
    if (!path || path->empty())
        return false;
    const std::string stamp = request.timeStamp ? request.timeStamp() : CurrentReportTimeStamp();
    const std::string text =
        FormatReport(*request.document, request.options, request.circuit, stamp, request.properties);
    const std::string error = WriteReportFile(*path, text);
    if (!error.empty())
        return fail(error.c_str());
    return true;
}

std::string CurrentReportTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return ReportTimeStamp(local);
}
