#include "market/frmbanco.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>

#include "data/erros.h"
#include "data/estado.h"
#include "data/financas.h"
#include "market/banco.h"
#include "market/comum.h"
#include "platform/interface_utilizador.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

namespace {

template <class W>
W* com_nome(W* w, const char* nome, QRect onde) {
    w->setObjectName(QString::fromLatin1(nome));
    w->setGeometry(onde);
    return w;
}

QLabel* rotulo(QWidget* pai, const char* nome, const char* texto, QRect onde) {
    return com_nome(new QLabel(QString::fromUtf8(texto), pai), nome, onde);
}

// Digits only; nine at most, so an amount always fits the money columns.
QLineEdit* caixa_valor(QWidget* pai, const char* nome, QRect onde) {
    auto* t = com_nome(new QLineEdit(pai), nome, onde);
    t->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), t));
    return t;
}

long valor_da(const QLineEdit& t) { return static_cast<long>(Val(t.text().toStdString())); }

} // namespace

FrmBanco::FrmBanco() : Ecra(QStringLiteral("FrmBanco")) {
    setFixedSize(440, 300);
    setWindowTitle(QStringLiteral("Banco"));
    SSTab1 = com_nome(new QTabWidget(this), "SSTab1", {10, 10, 420, 280});

    auto* tab0 = new QWidget;
    Frame1 = com_nome(new QGroupBox(tab0), "Frame1", {8, 8, 400, 230});
    Label1 = rotulo(Frame1, "Label1", "Valor :", {10, 28, 150, 24});
    Text1 = caixa_valor(Frame1, "Text1", {170, 28, 150, 24});
    Label2 = rotulo(Frame1, "Label2", "Duração (épocas):", {10, 60, 150, 24});
    Combo1 = com_nome(new QComboBox(Frame1), "Combo1", {170, 60, 80, 24});
    Label3 = rotulo(Frame1, "Label3", "Pagamento por Jornada :", {10, 96, 160, 24});
    Label4 = rotulo(Frame1, "Label4", "", {170, 96, 150, 24});
    Label7 = rotulo(Frame1, "Label7", "Pagamento Total :", {10, 124, 160, 24});
    Label6 = rotulo(Frame1, "Label6", "", {170, 124, 150, 24});
    Command1 = com_nome(new QPushButton(QStringLiteral("&OK"), Frame1), "Command1", {170, 180, 100, 32});
    Command2 = com_nome(new QPushButton(QStringLiteral("&Cancelar"), Frame1), "Command2", {280, 180, 100, 32});
    SSTab1->addTab(tab0, QString::fromUtf8("Empréstimo"));

    auto* tab1 = new QWidget;
    Frame2 = com_nome(new QGroupBox(tab1), "Frame2", {8, 8, 400, 230});
    Label5 = rotulo(Frame2, "Label5", "Valor :", {10, 28, 150, 24});
    Text2 = caixa_valor(Frame2, "Text2", {170, 28, 150, 24});
    Command4 = com_nome(new QPushButton(QStringLiteral("&OK"), Frame2), "Command4", {170, 180, 100, 32});
    Command3 = com_nome(new QPushButton(QStringLiteral("&Cancelar"), Frame2), "Command3", {280, 180, 100, 32});
    SSTab1->addTab(tab1, QString::fromUtf8("Amortizar"));

    connect(Combo1, &QComboBox::activated, this, [this](int) { Recalcular(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Recalcular(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Unload(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Unload(); });
}

void FrmBanco::Traduzir_Ingles() {
    setWindowTitle(QStringLiteral("Bank Loan"));
    SSTab1->setTabText(0, QStringLiteral("Loan"));
    SSTab1->setTabText(1, QStringLiteral("Amortise"));
    Label1->setText(QStringLiteral("Amount:"));
    Label5->setText(QStringLiteral("Amount:"));
    Label2->setText(QStringLiteral("Length (Years):"));
    Label3->setText(QStringLiteral("Payment per Match :"));
    Label7->setText(QStringLiteral("Total Payment :"));
    Command2->setText(QStringLiteral("Cancel"));
    Command3->setText(QStringLiteral("Cancel"));
}

void FrmBanco::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) Traduzir_Ingles();
    for (int i = 1; i <= 5; ++i) Combo1->addItem(QString::number(i));
    Combo1->setCurrentIndex(0);
    try {
        const std::string limite = Texto_Limite(Limite_Emprestimo());
        Frame1->setTitle(QString::fromStdString(
            ingles() ? "Loan (max. " + limite + ") - Interest Rate 5% year" : "Emprestimo (max. " + limite + ") - Juro 5% Época"));
        Frame2->setTitle(QString::fromStdString(txt("Divida : ", "Debts : ") + std::to_string(Ler_Divida())));
    } catch (const db::Erro_BD& e) {
        ui().aviso(Texto_Erro_Numerado(e), Icone::Critico);
    }
}

void FrmBanco::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

void FrmBanco::Recalcular() {
    const auto c = Calcular_Emprestimo(Val(Text1->text().toStdString()), Combo1->currentText().toInt());
    Label4->setText(QString::number(c.prestacao));
    Label6->setText(QString::number(c.total));
}

void FrmBanco::Command1_Click() {
    if (Pedir_Emprestimo(valor_da(*Text1), Combo1->currentText().toInt()) == Resultado_Negocio::Feito) Unload();
}

void FrmBanco::Command4_Click() {
    if (Amortizar_Emprestimo(valor_da(*Text2)) == Resultado_Negocio::Feito) Unload();
}

} // namespace gv
