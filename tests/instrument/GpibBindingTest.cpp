// The GPIB binding against libraries that are missing, incomplete or installed late.

#include "instrument/gpib/BusSearch.h"
#include "instrument/gpib/Gpib.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class GpibBinding : public testing::Test {
protected:
    void TearDown() override { gpib::SetLibraryPath(""); }

    static bool Loaded(const std::string& path)
    {
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle)
            dlclose(handle);
        return handle != nullptr;
    }

    static void ExpectRecordedFailure()
    {
        const instrument::LoadFailure failure = gpib::LastLoadFailure();
        EXPECT_TRUE(gpib::ibsta & gpib::ERR);
        EXPECT_EQ(gpib::iberr, gpib::EDVR);
        EXPECT_NE(failure.osError, 0);
        EXPECT_EQ(gpib::ibcntl, failure.osError);
        EXPECT_EQ(gpib::ibcnt, failure.osError);
    }
};

TEST_F(GpibBinding, MissingLibraryFailsEveryCallWithEdvrAndOsError)
{
    const std::string path = "/nonexistent/libtalvern-gpib-missing.so";
    gpib::SetLibraryPath(path);
    gpib::ibsta = 0;
    const int status = gpib::ibwrt(0, "*IDN?", 5);
    EXPECT_TRUE(status & gpib::ERR);
    ExpectRecordedFailure();
    EXPECT_NE(gpib::LastLoadFailure().text.find(path), std::string::npos);
    EXPECT_FALSE(gpib::LibraryBound());

    // Entries that cannot be bound: descriptors are -1, the others return the recorded status.
    EXPECT_EQ(gpib::ibdev(0, 5, 0, gpib::T10s, 1, 0), -1);
    EXPECT_EQ(gpib::ibfindA("GPIB0"), -1);
    EXPECT_EQ(gpib::ibclr(0), gpib::ERR);
    EXPECT_EQ(gpib::ibnotify(0, gpib::RQS, nullptr, nullptr), gpib::ERR);
    gpib::ibsta = 0;
    gpib::SendIFC(0);
    ExpectRecordedFailure();
    unsigned short results[4] = {7, 7, 7, 7};
    const unsigned short addresses[] = {1, gpib::NOADDR};
    gpib::FindLstn(0, addresses, results, 4);
    EXPECT_EQ(results[0], 7);
    ExpectRecordedFailure();
}

TEST_F(GpibBinding, LibraryWithoutByteCountIsReleasedAndTreatedAsMissing)
{
    gpib::SetLibraryPath(TALVERN_TEST_GPIB_NOCOUNT);
    EXPECT_TRUE(gpib::ibwrt(0, "X", 1) & gpib::ERR);
    ExpectRecordedFailure();
    EXPECT_NE(gpib::LastLoadFailure().text.find("ibcntl"), std::string::npos);
    EXPECT_FALSE(gpib::LibraryBound());
    // Let go of, but not unloaded: a library may have started threads of its own when it loaded.
    EXPECT_TRUE(Loaded(TALVERN_TEST_GPIB_NOCOUNT));
}

TEST_F(GpibBinding, DataSymbolsAreReadWithTheirWidthsAndMissingEntriesFail)
{
    gpib::SetLibraryPath(TALVERN_TEST_GPIB_PARTIAL);
    EXPECT_EQ(gpib::ibwrt(0, "READ?;", 6), 0x2100);
    EXPECT_TRUE(gpib::LibraryBound());
    EXPECT_EQ(gpib::ibsta, 0x2100);
    EXPECT_EQ(gpib::iberr, 0);
    EXPECT_EQ(gpib::ibcntl, 6 + (1L << 32));

    // ibfindA falls back to ibfind.
    EXPECT_EQ(gpib::ibfindA("GPIB0"), 3);
    EXPECT_EQ(gpib::ibsta, 0x120);

    // ibdev, SendIFC and FindLstn are absent from this library.
    EXPECT_EQ(gpib::ibdev(0, 5, 0, gpib::T10s, 1, 0), -1);
    ExpectRecordedFailure();
    EXPECT_NE(gpib::LastLoadFailure().text.find("ibdev"), std::string::npos);
    gpib::ibsta = 0;
    gpib::SendIFC(0);
    ExpectRecordedFailure();
    // A missing entry leaves the library bound; the next call of a present entry works.
    EXPECT_TRUE(gpib::LibraryBound());
    EXPECT_EQ(gpib::ibonl(0, 0), 0x100);
    EXPECT_EQ(gpib::ibsta, 0x100);
}

TEST_F(GpibBinding, ALibraryOnceBoundStaysLoadedWhenReleasedOrReplaced)
{
    gpib::SetLibraryPath(TALVERN_TEST_GPIB_PARTIAL);
    EXPECT_EQ(gpib::ibwrt(0, "X", 1), 0x2100);
    gpib::ReleaseLibrary();
    EXPECT_FALSE(gpib::LibraryBound());
    EXPECT_TRUE(Loaded(TALVERN_TEST_GPIB_PARTIAL));
    // Bound again, it is the same library; another library chosen leaves it loaded too.
    EXPECT_EQ(gpib::ibwrt(0, "XY", 2), 0x2100);
    gpib::SetLibraryPath("/nonexistent/libtalvern-gpib-missing.so");
    EXPECT_TRUE(Loaded(TALVERN_TEST_GPIB_PARTIAL));
}

TEST_F(GpibBinding, LibraryInstalledWhileRunningIsBoundOnTheNextCall)
{
    const std::filesystem::path directory = std::filesystem::temp_directory_path() /
                                            ("talvern-gpib-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    const std::filesystem::path path = directory / "libgpib-late.so";
    gpib::SetLibraryPath(path.string());
    EXPECT_TRUE(gpib::ibwrt(0, "X", 1) & gpib::ERR);
    EXPECT_FALSE(gpib::LibraryBound());

    std::filesystem::copy_file(TALVERN_TEST_GPIB_PARTIAL, path);
    EXPECT_EQ(gpib::ibwrt(0, "XY", 2), 0x2100);
    EXPECT_TRUE(gpib::LibraryBound());
    EXPECT_EQ(gpib::BoundLibraryName(), path.string());
    gpib::ReleaseLibrary();
    std::filesystem::remove_all(directory);
}

TEST_F(GpibBinding, BusSearchRefusesOtherAnalyzerTypesAndReportsMissingBoard)
{
    for (int type : {0, 1, 5, 12, -1}) {
        const gpib::BusSearchOutcome outcome = gpib::FindAnalyzerAddress(type, 0);
        EXPECT_EQ(outcome.result, gpib::BusSearchOutcome::Result::InvalidType);
        EXPECT_EQ(outcome.message, "Invalid Analyzer Type (internal id: " + std::to_string(type) +
                                       ") for the Find Address button");
    }
    gpib::SetLibraryPath("/nonexistent/libtalvern-gpib-missing.so");
    const gpib::BusSearchOutcome outcome = gpib::FindAnalyzerAddress(10, 0);
    EXPECT_EQ(outcome.result, gpib::BusSearchOutcome::Result::BoardError);
    EXPECT_EQ(outcome.message, "Unable to open board");
}

} // namespace
