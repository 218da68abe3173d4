#include "ModalDriver.h"
#include "support/Fixtures.h"

#include <QMessageBox>
#include <QPointer>

#include <cstdio>

namespace {

// A test that ends with a handler still waiting expected a window that never came.
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

// A modal or popup that no handler waits for fails its test after two seconds and is closed.
class UnansweredWindowGuard : public QObject {
public:
    explicit UnansweredWindowGuard(QObject* parent) : QObject(parent) { startTimer(100); }

protected:
    void timerEvent(QTimerEvent*) override {
        QWidget* open = QApplication::activeModalWidget();
        open = open != nullptr ? open : QApplication::activePopupWidget();
        if (open == nullptr || !apptest::PendingHandlers().children().isEmpty() || open != m_seen) {
            m_seen = open;
            m_clock.start();
        } else if (m_clock.elapsed() >= 2000) {
            const auto* box = qobject_cast<QMessageBox*>(open);
            ADD_FAILURE() << "nobody answered \""
                          << (box != nullptr ? box->text() : open->windowTitle()).toStdString()
                          << "\"";
            if (auto* dialog = qobject_cast<QDialog*>(open)) {
                dialog->reject();
            } else {
                open->close();
            }
            m_seen = nullptr;
        }
    }

private:
    QPointer<QWidget> m_seen;
    QElapsedTimer m_clock;
};

} // namespace

int main(int argc, char** argv) {
    const fixtures::PrivateSettingsHome settingsHome;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // test discovery runs without the environment
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    auto* check = new LeftoverHandlerCheck;
    ::testing::UnitTest::GetInstance()->listeners().Append(check);
    new UnansweredWindowGuard(&application);
    return RUN_ALL_TESTS() != 0 || check->failed ? 1 : 0;
}
