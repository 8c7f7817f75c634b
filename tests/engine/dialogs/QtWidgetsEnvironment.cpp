// The dialog tests run on Qt's offscreen platform with a widget application.

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class QtWidgetsEnvironment final : public testing::Environment {
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "test_analyzer_dialogs";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

private:
    QApplication* app_ = nullptr;
};

[[maybe_unused]] testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new QtWidgetsEnvironment);

} // namespace
