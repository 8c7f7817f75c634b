#include "instrument/SharedLibrary.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

TEST(LibraryCandidates, ConfiguredPathThenEnvironmentThenDefaults)
{
    const char* variable = "TALVERN_TEST_CANDIDATES";
    unsetenv(variable);
    EXPECT_EQ(instrument::LibraryCandidates("", variable, {"liba.so", "libb.so.0"}), (Names{"liba.so", "libb.so.0"}));
    setenv(variable, "", 1);
    EXPECT_EQ(instrument::LibraryCandidates("", variable, {"liba.so"}), (Names{"liba.so"}));
    setenv(variable, "/opt/env.so", 1);
    EXPECT_EQ(instrument::LibraryCandidates("", variable, {"liba.so"}), (Names{"/opt/env.so"}));
    EXPECT_EQ(instrument::LibraryCandidates("/opt/option.so", variable, {"liba.so"}), (Names{"/opt/option.so"}));
    unsetenv(variable);
}

TEST(SharedLibrary, MissingLibraryGivesOsErrorAndText)
{
    instrument::SharedLibrary library;
    EXPECT_FALSE(library.Open({"/nonexistent/libtalvern-none.so"}));
    EXPECT_FALSE(library.IsOpen());
    EXPECT_NE(library.Failure().osError, 0);
    EXPECT_NE(library.Failure().text.find("libtalvern-none.so"), std::string::npos);
    EXPECT_EQ(library.Symbol("ibwrt"), nullptr);
}

} // namespace
