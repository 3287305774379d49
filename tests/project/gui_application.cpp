// The one QGuiApplication of the project test program: the worksheet lays
// out text, which needs the font database. Offscreen unless told otherwise;
// made before the first test and deleted after the last.

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace kelvara::testing {
namespace {

class GuiApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QGuiApplication::instance() != nullptr)
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_project";
        static char* argv[] = {name, nullptr};
        app_ = new QGuiApplication(argc, argv);
    }
    void TearDown() override
    {
        delete app_;
        app_ = nullptr;
    }

private:
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const guiApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

} // namespace
} // namespace kelvara::testing
