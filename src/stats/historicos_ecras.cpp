// The manager's career, past winners and the clubs' histories.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/estado.h"
#include "platform/qt/grelha.h"
#include "startup/servicos_ecra_qt.h"
#include "stats/ecras_estatisticas.h"
#include "stats/estatisticas.h"

namespace gv {

using namespace Cores_Consulta;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

void cabecalhos(Grelha& g, std::initializer_list<const char*> textos, std::initializer_list<int> larguras) {
    int c = 1;
    for (const char* t : textos) g.set_Text(c++, 0, t);
    c = 1;
    for (int l : larguras) g.set_ColWidth(c++, l);
}

// The club's column (the second) shows any club's name whole, and the
// screen makes room for it.
void clube_inteiro(Grelha& g) {
    g.alargar_coluna(2, g.largura_nome());
    abrir_espaco(g, g.largura_total());
}

void escrever(Grelha& g, int r, const Linha_Historico& l) {
    int c = 1;
    for (const auto& t : l.celulas) g.set_Text(c++, r, t);
}

} // namespace

// ---------------------------------------------------------------- the manager's career

FrmHist_Treinador::FrmHist_Treinador() : Ecra_Consulta(QStringLiteral("FrmHist_Treinador")) {
    setFixedSize(960, 460);
    setWindowTitle(QStringLiteral("Histórico - Treinador"));
    v1 = grelha(QStringLiteral("v1_1"), {16, 16, 928, 380}, 15);
    cabecalhos(*v1,
               {"Época ", "Clube", "Divisão", "Class.", "Pts.", "V ", "E", "D", "Golos", "Taça", "1ª Div", "2ª div",
                "3ª Div", "Gastos", "Receitas"},
               {50, 150, 56, 48, 40, 32, 32, 32, 56, 40, 48, 48, 48, 100, 100});
    for (int c : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}) v1->set_alinhamento(c, Qt::AlignCenter);
    for (int c : {14, 15}) v1->set_alinhamento(c, Qt::AlignRight | Qt::AlignVCenter);
    botao_ok({840, 410, 104, 34});
    clube_inteiro(*v1);
}

void FrmHist_Treinador::Traduzir_Ingles() {
    const std::pair<int, const char*> en[] = {{1, "Year"}, {2, "Club"}, {3, "Div"}, {6, "W"},   {7, "D"},
                                              {8, "L"},    {9, "Gols"}, {10, "Cup"}, {15, "Money Inc."}, {14, "Money Spent"}};
    for (const auto& [c, t] : en) v1->set_Text(c, 0, t);
    setWindowTitle(QStringLiteral("History - Coach"));
}

void FrmHist_Treinador::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) Traduzir_Ingles();
    const auto h = Ler_Historico_Treinador();
    const int n = static_cast<int>(h.linhas.size());
    v1->set_MaxRows(h.total ? n + 1 : n);
    for (int r = 1; r <= n; ++r) {
        v1->set_cor_linha(r, Amarelo);
        escrever(*v1, r, h.linhas[static_cast<std::size_t>(r - 1)]);
    }
    if (h.total) {
        v1->set_cor_linha(n + 1, Laranja);
        escrever(*v1, n + 1, *h.total);
    }
}

// ---------------------------------------------------------------- past winners

FrmVencedores::FrmVencedores() : Ecra_Consulta(QStringLiteral("FrmVencedores")) {
    setFixedSize(900, 600);
    setWindowTitle(QStringLiteral("Últimos Vencedores"));
    auto moldura = [this](const char* nome, const char* titulo, QListWidget*& lista, const char* nome_lista,
                          QWidget* pai) {
        auto* f = new QGroupBox(QString::fromUtf8(titulo), pai);
        f->setObjectName(QString::fromLatin1(nome));
        auto* l = new QVBoxLayout(f);
        lista = lista_fixa(QString::fromLatin1(nome_lista), Amarelo, Azul_Escuro, f);
        l->addWidget(lista);
        return f;
    };
    auto separadores = [this](const char* nome, const QRect& r) {
        auto* t = new QTabWidget(this);
        t->setObjectName(QString::fromLatin1(nome));
        t->setGeometry(r);
        return t;
    };
    const char* campeonato = "Últimos Vencedores - Campeonato";
    const char* marcadores = "Melhores Marcadores";
    SSTab1 = separadores("SSTab1", {16, 16, 430, 260});
    SSTab1->addTab(Frame1 = moldura("Frame1", campeonato, List1, "List1", nullptr), QStringLiteral("1ª Divisão"));
    SSTab1->addTab(Frame3 = moldura("Frame3", campeonato, List2, "List2", nullptr), QStringLiteral("2ª Divisão"));
    SSTab1->addTab(Frame4 = moldura("Frame4", campeonato, List3, "List3", nullptr), QStringLiteral("3ª Divisão"));
    Frame2 = moldura("Frame2", "Últimos Vencedores - Taça Golvantario", List4, "List4", this);
    Frame2->setGeometry(16, 290, 430, 250);
    SSTab2 = separadores("SSTab2", {460, 16, 424, 260});
    SSTab2->addTab(Frame5 = moldura("Frame5", marcadores, List5, "List5", nullptr), QStringLiteral("1ª Divisão"));
    SSTab2->addTab(Frame6 = moldura("Frame6", marcadores, List6, "List6", nullptr), QStringLiteral("2ª Divisão"));
    SSTab2->addTab(Frame7 = moldura("Frame7", marcadores, List7, "List7", nullptr), QStringLiteral("3ª Divisão"));
    SSTab3 = separadores("SSTab3", {460, 290, 424, 250});
    List10 = lista_fixa(QStringLiteral("List10"), Amarelo, Azul_Escuro, nullptr);
    List11 = lista_fixa(QStringLiteral("List11"), Amarelo, Azul_Escuro, nullptr);
    SSTab3->addTab(List10, QStringLiteral("Campeonatos"));
    SSTab3->addTab(List11, QStringLiteral("Taças"));
    botao_ok({780, 552, 104, 34}, QStringLiteral("OK"));
}

void FrmVencedores::Traduzir_Ingles() {
    for (QTabWidget* t : {SSTab1, SSTab2}) {
        t->setTabText(2, QStringLiteral("3rd Division"));
        t->setTabText(1, QStringLiteral("2nd Division"));
        t->setTabText(0, QStringLiteral("1st Division"));
    }
    SSTab3->setTabText(1, QStringLiteral("Cup Winners"));
    SSTab3->setTabText(0, QStringLiteral("Championships"));
    auto titulo = [](QWidget* f, const char* t) { static_cast<QGroupBox*>(f)->setTitle(QString::fromLatin1(t)); };
    titulo(Frame1, "Last Winners - Championship");
    titulo(Frame2, "Cup Winners");
    titulo(Frame3, "Last Winners - Championship");
    titulo(Frame4, "Last Winners - Championship");
    for (QWidget* f : {Frame5, Frame6, Frame7}) titulo(f, "Best Scorers");
}

void FrmVencedores::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) Traduzir_Ingles();
    const auto v = Ler_Vencedores();
    auto encher = [](QListWidget* l, const std::vector<std::string>& linhas) {
        for (const auto& t : linhas) l->addItem(q(t));
    };
    QListWidget* campeoes[] = {List1, List2, List3};
    QListWidget* marcadores[] = {List5, List6, List7};
    for (int i = 0; i < 3; ++i) {
        encher(campeoes[i], v.campeoes[i]);
        encher(marcadores[i], v.marcadores[i]);
    }
    encher(List4, v.taca);
    encher(List10, v.titulos_div1);
    encher(List11, v.titulos_taca);
}

// ---------------------------------------------------------------- all-time club table

FrmHist_Clubes::FrmHist_Clubes() : Ecra_Consulta(QStringLiteral("FrmHist_Clubes")) {
    setFixedSize(820, 560);
    setWindowTitle(QStringLiteral("Histórico - Clubes"));
    v1 = grelha(QStringLiteral("v1_1"), {16, 16, 788, 480}, 12);
    cabecalhos(*v1, {"Pos ", "Clube", "Cls. Global", "Pts.", "V ", "E", "D", "Golos", "Taça", "1ª Div", "2ª div", "3ª Div"},
               {40, 170, 80, 50, 40, 40, 40, 70, 44, 50, 50, 50});
    for (int c = 1; c <= 12; ++c)
        if (c != 2) v1->set_alinhamento(c, Qt::AlignCenter);
    botao_ok({700, 510, 104, 34});
    clube_inteiro(*v1);
}

void FrmHist_Clubes::Traduzir_Ingles() {
    const std::pair<int, const char*> en[] = {{2, "Club"}, {3, "Position"}, {5, "W"}, {6, "D"},
                                              {7, "L"},    {8, "Gols"},     {9, "Cup"}};
    for (const auto& [c, t] : en) v1->set_Text(c, 0, t);
    setWindowTitle(QStringLiteral("History - Clubs"));
}

void FrmHist_Clubes::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) Traduzir_Ingles();
    const auto linhas = Historico_Clubes();
    v1->set_MaxRows(static_cast<int>(linhas.size()));
    int r = 1;
    for (const auto& l : linhas) {
        v1->set_cor_linha(r, l.clube == Clube_Treinador ? Laranja : Amarelo);
        escrever(*v1, r, l);
        ++r;
    }
}

// ---------------------------------------------------------------- one club's seasons

FrmHist_Clubes_Epoca::FrmHist_Clubes_Epoca() : Ecra_Consulta(QStringLiteral("FrmHist_Clubes_Epoca")) {
    setFixedSize(820, 560);
    setWindowTitle(QStringLiteral("Histórico por Época- Clubes"));
    Label1 = rotulo("Label1", QStringLiteral("Equipas:"), {16, 14, 70, 24});
    Combo1 = combo("Combo1", {90, 12, 300, 26});
    connect(Combo1, &QComboBox::activated, this, [this](int i) {
        try {
            preencher(Clube_Do_Item(*Combo1, i));
        } catch (const db::Erro_BD&) {
            // The grid shows what was written.
        }
    });
    v1 = grelha(QStringLiteral("v1_1"), {16, 48, 788, 450}, 13);
    cabecalhos(*v1,
               {"Época ", "Clube", "Div.", "Class.", "Pts.", "V ", "E", "D", "Golos", "Taça", "1ª Div", "2ª div", "3ª Div"},
               {50, 170, 40, 48, 44, 40, 40, 40, 64, 44, 50, 50, 50});
    for (int c = 1; c <= 13; ++c)
        if (c != 2) v1->set_alinhamento(c, Qt::AlignCenter);
    botao_ok({700, 510, 104, 34});
    clube_inteiro(*v1);
}

void FrmHist_Clubes_Epoca::Traduzir_Ingles() {
    const std::pair<int, const char*> en[] = {{1, "Year"}, {2, "Club"}, {4, "Pos."}, {6, "W"},
                                              {7, "D"},    {8, "L"},    {9, "Gols"}, {10, "Cup"}};
    for (const auto& [c, t] : en) v1->set_Text(c, 0, t);
    setWindowTitle(QStringLiteral("History - Clubs - All Years"));
}

void FrmHist_Clubes_Epoca::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) {
        Traduzir_Ingles();
        Label1->setText(QStringLiteral("Teams:"));
    }
    Preencher_Combo_Clubes(*Combo1);
    // Until a club is picked the box reads the bare name of the manager's club.
    Combo1->setCurrentIndex(-1);
    Combo1->setPlaceholderText(q(Clube_Treinador));
    preencher(Clube_Treinador);
}

void FrmHist_Clubes_Epoca::preencher(const std::string& clube) {
    const auto linhas = Historico_Clube_Epocas(clube);
    v1->Limpar();
    v1->set_MaxRows(static_cast<int>(linhas.size()));
    int r = 1;
    for (const auto& l : linhas) {
        v1->set_cor_linha(r, Amarelo);
        escrever(*v1, r, l);
        ++r;
    }
}

} // namespace gv
