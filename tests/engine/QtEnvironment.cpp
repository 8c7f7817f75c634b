// The engine suite runs its engines on this thread with a Qt event loop, as the program does.

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

class QtEnvironment final : public testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_engine";
        static char* argv[] = {name, nullptr};
        app_ = new QCoreApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

private:
    QCoreApplication* app_ = nullptr;
};

[[maybe_unused]] testing::Environment* const kQtEnvironment = testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
