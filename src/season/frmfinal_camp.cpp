#include "season/frmfinal_camp.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "data/erros.h"
#include "data/estado.h"
#include "desk/frmdados.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/grelha.h"
#include "platform/qt/navegacao.h"
#include "season/andamento.h"
#include "season/mudanca_epoca.h"
#include "season/resumo.h"
#include "stats/ecra_consulta.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

namespace {

const QColor Verde_Claro{192, 255, 192}, Vermelho_Claro{255, 192, 192};

QGroupBox* moldura(QWidget* pai, const char* nome, const char* titulo, QRect onde) {
    auto* f = new QGroupBox(QString::fromUtf8(titulo), pai);
    f->setObjectName(QString::fromLatin1(nome));
    f->setGeometry(onde);
    return f;
}

QLabel* rotulo(QWidget* pai, const char* nome, QRect onde) {
    auto* l = new QLabel(pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->setGeometry(onde);
    return l;
}

// Three grids, one per division, on a tab strip.
QTabWidget* separadores(QWidget* pai, const char* nome, const char* grelha, std::array<Grelha*, 3>& g,
                        const std::vector<const char*>& cabecalhos, const std::vector<int>& larguras) {
    auto* t = new QTabWidget(pai);
    t->setObjectName(QString::fromLatin1(nome));
    t->setGeometry(10, 24, pai->width() - 20, pai->height() - 34);
    const char* const titulos[] = {"1ª Div.", "2ª Div.", "3ª Div."};
    for (int i = 0; i < 3; ++i) {
        auto* v = new Grelha(nullptr, QStringLiteral("%1_%2").arg(QString::fromLatin1(grelha)).arg(i));
        v->set_MaxCols(static_cast<int>(cabecalhos.size()));
        v->set_MaxRows(6);
        for (int c = 1; c <= v->MaxCols(); ++c) {
            v->set_Text(c, 0, cabecalhos[static_cast<std::size_t>(c - 1)]);
            v->set_ColWidth(c, larguras[static_cast<std::size_t>(c - 1)]);
        }
        t->addTab(v, QString::fromUtf8(titulos[i]));
        g[static_cast<std::size_t>(i)] = v;
    }
    return t;
}

} // namespace

FrmFinal_Camp::FrmFinal_Camp() : Ecra(QStringLiteral("FrmFinal_Camp")) {
    setFixedSize(820, 600);
    setWindowTitle(QString::fromUtf8("Resumo - Final da Época"));

    Frame1 = moldura(this, "Frame1", "Subidas e Descidas", {12, 12, 390, 250});
    s1 = separadores(Frame1, "s1", "v1", v1_, {"Pos ", "Clube", "Pts"}, {40, 220, 50});
    Frame2 = moldura(this, "Frame2", "Melhores Marcadores", {414, 12, 394, 250});
    SSTab1 = separadores(Frame2, "SSTab1", "v2", v2_, {"Pos ", "Nome", "Clube", "Golos"}, {40, 130, 130, 45});
    for (Grelha* g : v2_) {
        g->set_ColWidth(2, g->largura_nome());
        g->set_ColWidth(3, g->largura_nome());
        g->acertar_cabecalhos();
    }

    Frame3 = moldura(this, "Frame3", "Vencedor Campeonato", {12, 272, 390, 60});
    Label1 = rotulo(Frame3, "Label1", {12, 24, 366, 26});
    // The cup winner's caption once, on the inner frame (the one English
    // translates); the outer frame only holds it.
    Frame4 = moldura(this, "Frame4", "", {414, 262, 394, 76});
    Frame5 = moldura(Frame4, "Frame5", "Vencedor Taça", {6, 16, 382, 56});
    Label2 = rotulo(Frame5, "Label2", {10, 22, 362, 26});
    for (QLabel* l : {Label1, Label2}) l->setStyleSheet(QStringLiteral("font-weight: bold; color: rgb(0, 0, 128);"));

    Frame6 = moldura(this, "Frame6", "Convites de Equipas para Treinar", {12, 342, 796, 170});
    List1 = new QListWidget(Frame6);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(10, 24, 776, 136);
    // The offers' fields line up in a fixed-pitch font.
    List1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // A double click shows the offering club's squad.
    connect(List1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int i = List1->row(item);
        if (i >= 0 && i < static_cast<int>(convites_.size())) Mostrar_Plantel(convites_[i].clube);
    });

    Label3 = rotulo(this, "Label3", {12, 520, 796, 24});
    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(350, 552, 120, 34);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    abrir_espaco(*v2_[0], v2_[0]->largura_total());
    Command1->move((width() - Command1->width()) / 2, Command1->y());
}

FrmFinal_Camp::~FrmFinal_Camp() {
    // Released without an unload (the program ending): the status line goes with it.
    if (!a_descarregar()) registar_andamento({});
}

void FrmFinal_Camp::Form_Load() {
    Centrar_Form(*this);
    setWindowTitle(QString::fromStdString("Resumo - Final da Época " + std::to_string(Epoca_Actual)));
    if (ingles()) Traduzir_Ingles();
    registar_andamento([this](const std::string& texto) {
        Label3->setText(QString::fromStdString(texto));
        Label3->repaint();
    });
    try {
        mostrar(Ler_Resumo_Epoca());
        // The contract is counted down as the season changes; when it runs
        // out now, the manager chooses among these offers.
        if (Contrato_Termina()) {
            convites_ = Equipas_Convite();
            for (const auto& c : convites_) List1->addItem(QString::fromStdString(c.linha));
        }
    } catch (const db::Erro_BD& e) {
        ui().aviso(std::string(txt("Não foi possível ler o resumo da época.", "The season's summary could not be read.")) +
                       Linha_Causa(e),
                   Icone::Critico);
    }
}

void FrmFinal_Camp::Form_Unload() { registar_andamento({}); }

void FrmFinal_Camp::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

void FrmFinal_Camp::Traduzir_Ingles() {
    Frame5->setTitle(QStringLiteral("Cup Champion"));
    Frame3->setTitle(QStringLiteral("Championship Winner"));
    Frame2->setTitle(QStringLiteral("Best Scorer"));
    Frame1->setTitle(QStringLiteral("Promotions"));
    Frame6->setTitle(QStringLiteral("Invitation from anothers Clubs"));
    setWindowTitle(QStringLiteral("End of the Year"));
    for (Grelha* g : v1_) g->set_Text(2, 0, "Club");
    for (Grelha* g : v2_) {
        g->set_Text(2, 0, "Name");
        g->set_Text(3, 0, "Club");
        g->set_Text(4, 0, "Gols");
    }
}

void FrmFinal_Camp::mostrar(const Resumo_Epoca& r) {
    Label1->setText(QString::fromStdString(r.campeao));
    Label2->setText(QString::fromStdString(r.vencedor_taca));
    for (std::size_t i = 0; i < 3; ++i) {
        Grelha& g = *v1_[i];
        g.set_MaxCols(3);
        g.set_MaxRows(6);
        g.Limpar();
        int linha = 1;
        auto escrever = [&](const Linha_Classificacao& l, const QColor& cor) {
            g.set_cor_linha(linha, cor);
            g.set_identidade(linha, l.id);
            g.set_Text(1, linha, std::to_string(l.lugar));
            g.set_Text(2, linha, l.clube);
            g.set_Text(3, linha, std::to_string(l.pontos));
            ++linha;
        };
        for (const auto& l : r.primeiros[i]) escrever(l, Verde_Claro);
        linha = 4;
        for (const auto& l : r.ultimos[i]) escrever(l, Vermelho_Claro);

        Grelha& m = *v2_[i];
        m.set_MaxCols(4);
        m.set_MaxRows(6);
        m.Limpar();
        int k = 1;
        for (const auto& j : r.marcadores[i]) {
            m.set_cor_linha(k, k == 1 ? Vermelho_Claro : Verde_Claro);
            m.set_identidade(k, j.id);
            m.set_Text(1, k, std::to_string(k));
            m.set_Text(2, k, j.nome);
            m.set_Text(3, k, j.equipa);
            m.set_Text(4, k, std::to_string(j.golos));
            ++k;
        }
    }
}

bool FrmFinal_Camp::Form_QueryUnload() {
    // The season must change before the game goes on: closing the window
    // does what OK does, and stays open when OK would (or while it runs).
    if (Command1->isEnabled()) Command1_Click();
    return false;
}

void FrmFinal_Camp::Command1_Click() {
    const Convite* escolhido = nullptr;
    const int i = List1->currentRow();
    if (i >= 0 && i < static_cast<int>(convites_.size()) && List1->item(i)->isSelected())
        escolhido = &convites_[static_cast<std::size_t>(i)];
    Command1->setEnabled(false);
    const Resultado_Mudanca r = Mudar_Epoca(escolhido);
    if (r != Resultado_Mudanca::Feita) {
        // Nothing was changed: the choice can be made, or the change tried, again.
        Command1->setEnabled(true);
        Label3->clear();
        return;
    }
    Navegacao::passar_para<FrmDados>();
    Unload();
}

} // namespace gv
