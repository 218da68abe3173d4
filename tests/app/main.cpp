#include "ModalDriver.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

// A test that ends with a dialog handler still waiting expected a dialog that never came.
class LeftoverHandlerCheck : public ::testing::EmptyTestEventListener {
public:
    void OnTestEnd(const ::testing::TestInfo& test) override {
        if (apptest::DropPendingHandlers() > 0) {
            std::fprintf(stderr, "%s.%s: an expected dialog never appeared\n",
                         test.test_suite_name(), test.name());
            failed = true;
        }
    }
    bool failed = false;
};

} // namespace

// The GUI tests need one QApplication for the whole run; they are headless by default.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    auto* check = new LeftoverHandlerCheck;
    ::testing::UnitTest::GetInstance()->listeners().Append(check);
    const int result = RUN_ALL_TESTS();
    return result != 0 || check->failed ? 1 : 0;
}
