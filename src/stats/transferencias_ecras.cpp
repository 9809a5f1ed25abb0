// The manager's club's deals and the season's transfers between clubs.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "data/estado.h"
#include "platform/qt/grelha.h"
#include "platform/texto.h"
#include "startup/servicos_ecra_qt.h"
#include "stats/ecras_estatisticas.h"
#include "stats/estatisticas.h"

namespace gv {

using namespace Cores_Consulta;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

int largura(double caracteres) { return static_cast<int>(caracteres * 8 + 8); }

} // namespace

// ---------------------------------------------------------------- the club's deals

FrmTranfere::FrmTranfere() : Ecra_Consulta(QStringLiteral("FrmTranfere")) {
    setFixedSize(620, 520);
    setWindowTitle(QStringLiteral("Transferências Realizadas"));
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(16, 16, 588, 360);
    const char* cabecalhos[] = {"Época", "Pos ", "Nome", "Força", "Preço", "Tipo"};
    const double larguras[] = {9, 3.5, 16.75, 6.12, 10.62, 13.87};
    const char* separadores[] = {"Entradas de Jogadores", "Saídas de Jogadores"};
    for (int i = 0; i < 2; ++i) {
        v2[i] = grelha(QStringLiteral("v2_%1").arg(i), {}, 6, SSTab1);
        for (int c = 1; c <= 6; ++c) {
            v2[i]->set_Text(c, 0, cabecalhos[c - 1]);
            v2[i]->set_ColWidth(c, largura(larguras[c - 1]));
        }
        v2[i]->set_alinhamento(4, Qt::AlignCenter);
        v2[i]->set_alinhamento(5, Qt::AlignRight | Qt::AlignVCenter);
        v2[i]->set_ColWidth(3, v2[i]->largura_nome({}, QStringLiteral(" (00)")));
        v2[i]->acertar_cabecalhos();
        SSTab1->addTab(v2[i], QString::fromUtf8(separadores[i]));
    }
    struct R {
        QLabel*& l;
        const char* nome;
        const char* texto;
        QRect r;
    };
    for (const R& r : {R{Label1, "Label1", "Gastos (Época) :", {16, 390, 150, 24}},
                       R{Label5, "Label5", "", {166, 390, 120, 24}},
                       R{Label3, "Label3", "Receitas (Época) :", {306, 390, 150, 24}},
                       R{Label7, "Label7", "", {456, 390, 120, 24}},
                       R{Label2, "Label2", "Gastos (TOTAL) :", {16, 420, 150, 24}},
                       R{Label6, "Label6", "", {166, 420, 120, 24}},
                       R{Label4, "Label4", "Receitas (TOTAL) :", {306, 420, 150, 24}},
                       R{Label8, "Label8", "", {456, 420, 120, 24}}})
        r.l = rotulo(r.nome, QString::fromUtf8(r.texto), r.r);
    auto cor = [](QLabel* a, QLabel* b, const QColor& c) {
        for (QLabel* l : {a, b}) l->setStyleSheet(QStringLiteral("color: %1;").arg(c.name()));
    };
    cor(Label1, Label5, Vermelho_Escuro);
    cor(Label3, Label7, Verde_Escuro);
    cor(Label2, Label6, Azul_Escuro);
    cor(Label4, Label8, Azul_Escuro);
    botao_ok({500, 470, 104, 34}, QStringLiteral("OK"));
    abrir_espaco(*v2[0], v2[0]->largura_total());
}

void FrmTranfere::Traduzir_Ingles() {
    for (Grelha* g : v2) {
        g->set_Text(1, 0, "Year");
        g->set_Text(3, 0, "Name");
        g->set_Text(4, 0, "Value");
        g->set_Text(5, 0, "Price");
        g->set_Text(6, 0, "Type");
    }
    Label1->setText(QStringLiteral("Money Spent(year):"));
    Label2->setText(QStringLiteral("Money Spent(TOTAL):"));
    Label3->setText(QStringLiteral("Money Income(year):"));
    Label4->setText(QStringLiteral("Money Income(TOTAL):"));
    SSTab1->setTabText(1, QStringLiteral("Players OUT"));
    SSTab1->setTabText(0, QStringLiteral("Players IN"));
    SSTab1->setCurrentIndex(0);
    setWindowTitle(QStringLiteral("Transfers Done"));
}

void FrmTranfere::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) Traduzir_Ingles();
    const auto t = Totais_Transferencias_Clube(Epoca_Actual);
    Label8->setText(q(formatar_dinheiro(t.receitas_total)));
    Label6->setText(q(formatar_dinheiro(t.gastos_total)));
    Label7->setText(q(formatar_dinheiro(t.receitas_epoca)));
    Label5->setText(q(formatar_dinheiro(t.gastos_epoca)));
    for (int i = 0; i < 2; ++i) {
        const auto linhas = Transferencias_Clube(i == 0);
        Grelha& g = *v2[i];
        g.set_MaxRows(static_cast<int>(linhas.size()));
        int r = 1;
        for (const auto& l : linhas) {
            g.set_cor_linha(r, Amarelo);
            g.set_Text(1, r, std::to_string(l.epoca) + "(" + std::to_string(l.jornada) + ")");
            g.set_Text(2, r, l.pos);
            g.set_Text(3, r, l.nome);
            g.set_Text(4, r, std::to_string(l.forca));
            g.set_Text(5, r, formatar_dinheiro(l.valor));
            g.set_Text(6, r, Texto_Tipo_Transferencia(l.tipo));
            ++r;
        }
    }
    SSTab1->setCurrentIndex(0);
}

// ---------------------------------------------------------------- all clubs' transfers

FrmTransferencias_totais::FrmTransferencias_totais() : Ecra_Consulta(QStringLiteral("FrmTransferencias_totais")) {
    setFixedSize(800, 560);
    setWindowTitle(QStringLiteral("Todas as Transferências"));
    Combo1 = filtro_equipas(Label1, [this] { preencher(); });
    Option1 = new QRadioButton(this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setGeometry(420, 8, 20, 20);
    Option1->setChecked(true);
    Label2 = rotulo("Label2", QStringLiteral("Ordenar por Jornada"), {444, 6, 200, 24});
    Option2 = new QRadioButton(this);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setGeometry(420, 30, 20, 20);
    Label3 = rotulo("Label3", QStringLiteral("Ordenar por Preço"), {444, 28, 200, 24});
    connect(Option1, &QRadioButton::clicked, this, [this] { preencher(); });
    connect(Option2, &QRadioButton::clicked, this, [this] { preencher(); });
    Ignorar_Teclas(*this);

    v2 = grelha(QStringLiteral("v2_0"), {16, 60, 768, 430}, 5);
    const char* cabecalhos[] = {"Jor. ", "Nome", "Força", "Preço", "Transf."};
    const double larguras[] = {6.25, 24.5, 6.12, 10.25, 39.86};
    for (int c = 1; c <= 5; ++c) {
        v2->set_Text(c, 0, cabecalhos[c - 1]);
        v2->set_ColWidth(c, largura(larguras[c - 1]));
    }
    v2->set_alinhamento(1, Qt::AlignCenter);
    v2->set_alinhamento(3, Qt::AlignCenter);
    v2->set_alinhamento(4, Qt::AlignRight | Qt::AlignVCenter);
    // "MD - name (25)" and "(1) club -> club (2)" whole.
    const QString nome = v2->nome_largo();
    v2->set_ColWidth(2, v2->largura_nome(QStringLiteral("MD - "), QStringLiteral(" (00)")));
    v2->set_ColWidth(5, v2->largura_para(QStringLiteral("(0) ") + nome + QStringLiteral(" -> ") + nome + QStringLiteral(" (0)")));
    v2->acertar_cabecalhos();
    botao_ok({680, 504, 104, 34});
    abrir_espaco(*v2, v2->largura_total());
}

void FrmTransferencias_totais::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) {
        setWindowTitle(QStringLiteral("All Transfers"));
        Label2->setText(QStringLiteral("Order by Match"));
        Label3->setText(QStringLiteral("Order by Price"));
        Label1->setText(QStringLiteral("Teams:"));
    }
    Combo1->addItem(QString::fromUtf8(txt("Todos os Clubes", "All Teams")));
    Preencher_Combo_Clubes(*Combo1);
    Combo1->setCurrentIndex(0);
    preencher();
}

void FrmTransferencias_totais::preencher() {
    const auto ordem = Option2->isChecked() ? Ordem_Transferencias::Preco : Ordem_Transferencias::Jornada;
    const auto linhas = Transferencias_Todas(Clube_Do_Item(*Combo1, Combo1->currentIndex()), ordem);
    v2->Limpar();
    v2->set_MaxRows(static_cast<int>(linhas.size()));
    int r = 1;
    for (const auto& l : linhas) {
        v2->set_cor_linha(r, Amarelo);
        v2->set_Text(1, r, std::to_string(l.jornada));
        v2->set_Text(2, r, l.texto_nome());
        v2->set_Text(3, r, std::to_string(l.forca));
        v2->set_Text(4, r, formatar_dinheiro(l.valor));
        v2->set_Text(5, r, l.tipo);
        ++r;
    }
}

} // namespace gv
