#include "platform/qt/ecra.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHideEvent>
#include <QPainter>

#include <unordered_map>
#include <vector>

namespace gv {

namespace {

std::unordered_map<std::type_index, Ecra*>& registo() {
    static std::unordered_map<std::type_index, Ecra*> r;
    return r;
}

int profundidade = 0;
int vivos = 0;

void trazer_a_frente(QWidget& w) {
    // The offscreen platform (tests) has no stacking and says so each time.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) w.raise();
    w.activateWindow();
}

} // namespace

namespace detalhe {

Ecra* procurar_instancia(std::type_index tipo) {
    auto it = registo().find(tipo);
    return it == registo().end() ? nullptr : it->second;
}

void registar_instancia(std::type_index tipo, Ecra* ecra) {
    registo()[tipo] = ecra;
    ecra->tipo_ = tipo;
    ecra->registado_ = true;
}

void carregar(Ecra& ecra) { ecra.Form_Load(); }

} // namespace detalhe

Ecra::Ecra(const QString& nome, QWidget* pai) : QWidget(pai, Qt::Window) {
    setObjectName(nome);
    ++vivos;
}

Ecra::~Ecra() {
    --vivos;
    if (registado_) {
        auto it = registo().find(tipo_);
        if (it != registo().end() && it->second == this) registo().erase(it);
    }
    // A modal show still waiting on this screen must not wait for ever.
    sair_do_ciclo();
}

void Ecra::Show() {
    if (descarregando_) return;
    if (!isVisible()) setWindowModality(Qt::NonModal);
    show();
    trazer_a_frente(*this);
}

void Ecra::Show_Modal() {
    if (descarregando_ || ciclo_) return;
    if (isVisible()) hide();   // modality changes only while hidden
    setWindowModality(Qt::ApplicationModal);
    show();
    trazer_a_frente(*this);

    QPointer<Ecra> guarda(this);
    QPointer<QWidget> chamador = QApplication::activeWindow();
    QEventLoop ciclo;
    ciclo_ = &ciclo;
    ++profundidade;
    // The load or show may already have hidden or unloaded the screen.
    if (isVisible() && !descarregando_) ciclo.exec(QEventLoop::DialogExec);
    --profundidade;
    // From here the screen may be gone (unloaded and deleted by the loop).
    if (guarda) {
        guarda->ciclo_ = nullptr;
        if (!guarda->isVisible()) guarda->setWindowModality(Qt::NonModal);
    }
    // The keyboard goes back to the screen that opened this one, however
    // this one closed (its shortcuts work again).
    if (chamador && chamador != guarda && chamador->isVisible()) trazer_a_frente(*chamador);
}

void Ecra::Hide() {
    hide();
    sair_do_ciclo();
}

void Ecra::Unload() {
    if (descarregando_) return;
    descarregando_ = true;
    Form_Unload();
    if (registado_) {
        auto it = registo().find(tipo_);
        if (it != registo().end() && it->second == this) registo().erase(it);
        registado_ = false;
    }
    hide();
    sair_do_ciclo();
    // Never deleted here: Unload is usually called from one of this
    // screen's own handlers, and its modal show is still on the stack.
    deleteLater();
}

void Ecra::sair_do_ciclo() {
    if (ciclo_) ciclo_->quit();
}

int Ecra::ScaleWidth() const { return width(); }
int Ecra::ScaleHeight() const { return height(); }

void Ecra::PaintPicture(const QImage& imagem, int x, int y) {
    if (pintor_)
        pintor_->drawImage(x, y, imagem);
    else
        update();
}

void Ecra::closeEvent(QCloseEvent* e) {
    if (descarregando_) {
        e->accept();
        return;
    }
    if (!Form_QueryUnload()) {
        e->ignore();
        return;
    }
    e->accept();
    Unload();
}

void Ecra::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    // A minimised window stays shown for its modal caller.
    if (!e->spontaneous()) sair_do_ciclo();
}

void Ecra::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Form_Resize();
}

void Ecra::paintEvent(QPaintEvent*) {
    QPainter p(this);
    pintor_ = &p;
    Form_Paint();
    pintor_ = nullptr;
}

int Ecra::profundidade_modal() { return profundidade; }
int Ecra::ecras_vivos() { return vivos; }

void Ecra::libertar_todos() {
    std::vector<Ecra*> todos;
    for (auto& [tipo, e] : registo()) todos.push_back(e);
    registo().clear();
    for (Ecra* e : todos) {
        e->registado_ = false;
        delete e;
    }
}

} // namespace gv
