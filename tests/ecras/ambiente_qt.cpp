#include "ambiente_qt.h"

#include <QSettings>
#include <QTemporaryDir>

namespace gv::teste {

namespace {

class Ambiente_Qt : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's dialogs keep what a person left (a view, the columns' widths)
        // in the user's settings: each test process keeps its own, so tests
        // run side by side do not see each other's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, definicoes_.path());
        app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override {
        apagar_pendentes();
        Ecra::libertar_todos();
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char nome_[8] = "teste";
    char* argv_[2] = {nome_, nullptr};
    QApplication* app_ = nullptr;
    QTemporaryDir definicoes_;
};

[[maybe_unused]] auto* const registado = ::testing::AddGlobalTestEnvironment(new Ambiente_Qt);

} // namespace

bool esperar_ate(const std::function<bool()>& feito, int ms) {
    QElapsedTimer t;
    t.start();
    while (!feito()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void apagar_pendentes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace gv::teste
