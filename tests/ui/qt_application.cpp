// The one QApplication of the UI test program, offscreen unless told
// otherwise. A global test environment makes it before the first test,
// whichever fixture runs first, and deletes it after the last: a static one
// would be destroyed after the input-device registry it refers to and crash
// the exit.

#include <QApplication>

#include <gtest/gtest.h>

namespace kelvara::testing {
namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QApplication::instance() != nullptr)
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_ui";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
    }
    void TearDown() override
    {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const applicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace
} // namespace kelvara::testing
