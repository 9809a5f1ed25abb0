#include "stats/ecra_consulta.h"

#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

#include "data/estado.h"
#include "platform/qt/grelha.h"
#include "startup/frmtiler.h"
#include "stats/estatisticas.h"

namespace gv {

namespace {

class Filtro : public QObject {
public:
    Filtro(QObject* pai, QEvent::Type tipo, std::function<bool(QEvent*)> f)
        : QObject(pai), tipo_(tipo), f_(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override { return e->type() == tipo_ && f_(e); }

private:
    QEvent::Type tipo_;
    std::function<bool(QEvent*)> f_;
};

} // namespace

std::function<void(const std::string&)>& Abrir_Plantel_Clube() {
    static std::function<void(const std::string&)> f;
    return f;
}

void Mostrar_Plantel(const std::string& clube) {
    if (!Abrir_Plantel_Clube() || clube.empty()) return;
    Clube_Consulta = clube;
    Abrir_Plantel_Clube()(clube);
}

QFont Fonte_Fixa() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontDatabase::families().contains(QStringLiteral("Fixedsys"))) f.setFamily(QStringLiteral("Fixedsys"));
    f.setFixedPitch(true);
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

void Ligar_Clique(QWidget& w, std::function<void()> f) {
    w.setCursor(Qt::PointingHandCursor);
    w.installEventFilter(new Filtro(&w, QEvent::MouseButtonRelease, [f = std::move(f)](QEvent* e) {
        if (static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton) return false;
        f();
        return true;
    }));
}

void Ignorar_Teclas(QWidget& w) {
    w.installEventFilter(new Filtro(&w, QEvent::KeyPress, [](QEvent*) { return true; }));
}

void Ecra_Consulta::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

QPushButton* Ecra_Consulta::botao(const char* nome, const QString& texto, const QRect& r) {
    auto* b = new QPushButton(texto, this);
    b->setObjectName(QString::fromLatin1(nome));
    b->setGeometry(r);
    return b;
}

QPushButton* Ecra_Consulta::botao_ok(const QRect& r, const QString& texto) {
    auto* b = botao("Command1", texto, r);
    connect(b, &QPushButton::clicked, this, [this] { Unload(); });
    return b;
}

QLabel* Ecra_Consulta::rotulo(const char* nome, const QString& texto, const QRect& r) {
    auto* l = new QLabel(texto, this);
    l->setObjectName(QString::fromLatin1(nome));
    l->setGeometry(r);
    return l;
}

Grelha* Ecra_Consulta::grelha(const QString& nome, const QRect& r, int colunas, QWidget* pai) {
    auto* g = new Grelha(pai ? pai : this, nome);
    if (!pai) g->setGeometry(r);
    g->set_MaxCols(colunas);
    g->set_MaxRows(0);
    Ignorar_Teclas(g->tabela());
    return g;
}

QComboBox* Ecra_Consulta::combo(const char* nome, const QRect& r) {
    auto* c = new QComboBox(this);
    c->setObjectName(QString::fromLatin1(nome));
    c->setGeometry(r);
    c->setStyleSheet(QStringLiteral("QComboBox { background: rgb(255, 255, 192); color: rgb(0, 0, 128); }"));
    Ignorar_Teclas(*c);
    return c;
}

QComboBox* Ecra_Consulta::filtro_equipas(QLabel*& legenda, const std::function<void()>& preencher) {
    legenda = rotulo("Label1", QStringLiteral("Equipas:"), {16, 14, 70, 24});
    auto* c = combo("Combo1", {90, 12, 300, 26});
    connect(c, &QComboBox::activated, this, [preencher](int) {
        try {
            preencher();
        } catch (const db::Erro_BD&) {
        }
    });
    return c;
}

QListWidget* Ecra_Consulta::lista_fixa(const QString& nome, const QColor& fundo, const QColor& texto, QWidget* pai) {
    auto* l = new QListWidget(pai ? pai : this);
    l->setObjectName(nome);
    l->setFont(Fonte_Fixa());
    l->setStyleSheet(QStringLiteral("QListWidget { background: %1; color: %2; }").arg(fundo.name(), texto.name()));
    return l;
}

void Preencher_Combo_Clubes(QComboBox& c) {
    for (const auto& cl : Clubes_Da_Liga())
        c.addItem(QString::fromStdString(cl.texto()), QString::fromStdString(cl.clube));
}

std::string Clube_Do_Item(const QComboBox& c, int indice) {
    if (indice < 0) return {};
    return c.itemData(indice).toString().toStdString();
}

} // namespace gv
