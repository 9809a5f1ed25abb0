#include "desk/frmdados.h"

#include <cmath>

#include <QAction>
#include <QCursor>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QTableWidget>

#include "data/clubes.h"
#include "data/esquema.h"
#include "data/erros.h"
#include "data/estado.h"
#include "data/financas.h"
#include "data/plantel.h"
#include "data/tacticas.h"
#include "desk/negocios.h"
#include "desk/propostas.h"
#include "desk/proximo_jogo.h"
#include "desk/secretaria.h"
#include "market/abrir_mercado.h"
#include "matchday/frmjogos.h"
#include "matchday/marcadores.h"
#include "platform/qt/controlos.h"
#include "platform/qt/navegacao.h"
#include "season/frmfinal_camp.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/caixa_imagem.h"
#include "platform/qt/grelha.h"
#include "platform/texto.h"
#include "season/frmtabelas.h"
#include "startup/arranque.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"
#include "stats/ecra_consulta.h"
#include "stats/menu_estatisticas.h"

namespace gv {

QColor Cores_Secretaria::da_posicao(const std::string& pos) {
    if (pos == "gk") return {192, 192, 255};
    if (pos == "df") return {128, 128, 255};
    if (pos == "md") return {0, 0, 192};
    return {0, 0, 128};
}

namespace {

using namespace Cores_Secretaria;

const char* const Cabecalhos_PT[] = {"", "Pos", "Nome", "Ida.", "Força", "Ctr.", "Ord.", "Valor", "Gol", "E.In", "E.out", "Les.", ""};
const char* const Cabecalhos_EN[] = {"", "Pos", "Name", "Age", "Value", "Ctr.", "Wage", "Price", "Gol", "L.In", "L.Out", "Inj.", ""};

QColor cor_da_seccao(Seccao_Plantel s) {
    switch (s) {
    case Seccao_Plantel::Equipa: return Verde_Claro;
    case Seccao_Plantel::Reservas: return Amarelo_Claro;
    case Seccao_Plantel::Indisponiveis: return Vermelho_Claro;
    case Seccao_Plantel::Emprestados: return Cinzento;
    }
    return Qt::white;
}

// The combo as the formation list sees it.
class Combo_Tacticas : public Vista_Tacticas {
public:
    explicit Combo_Tacticas(QComboBox& c) : c_(c) {}
    void limpar() override { c_.clear(); }
    void acrescentar(const std::string& f) override { c_.addItem(QString::fromStdString(f)); }
    void definir_texto(const std::string& f) override {
        // The stored line-up may not be one of the offered formations: it
        // is shown, not offered.
        const QString texto = QString::fromStdString(f);
        c_.setPlaceholderText(texto);
        c_.setCurrentIndex(c_.findText(texto));
    }
    void assinalar_incompleta() override { c_.setStyleSheet(QStringLiteral("background: rgb(255, 192, 192);")); }

private:
    QComboBox& c_;
};

QPixmap seta(bool para_cima) {
    QPixmap px(32, 32);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(para_cima ? QColor(0, 150, 0) : QColor(200, 0, 0));
    QPolygon forma = para_cima ? QPolygon({{16, 2}, {30, 16}, {21, 16}, {21, 30}, {11, 30}, {11, 16}, {2, 16}})
                               : QPolygon({{16, 30}, {30, 16}, {21, 16}, {21, 2}, {11, 2}, {11, 16}, {2, 16}});
    p.drawPolygon(forma);
    return px;
}

QPixmap bola_botao() {
    QPixmap px(40, 40);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 30, 30), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(20, 20), 17, 17);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QPointF(20, 20), 6, 6);
    return px;
}


} // namespace

void Preencher_Plantel(Grelha& s1, const std::string& formacao) {
    std::vector<Linha_Plantel> linhas;
    try {
        linhas = Linhas_Plantel(formacao);
    } catch (const db::Erro_BD&) {
        // The grid is a view: a failed read leaves it empty rather than stop the desk.
    }
    s1.set_MaxCols(13);
    s1.set_MaxRows(static_cast<int>(linhas.size()));
    s1.Limpar();
    s1.set_ColHidden(13, true);
    for (int c = 2; c <= 12; ++c) s1.set_Lock(c, -1, true);
    s1.set_visto(1, -1, true);
    int r = 1;
    for (const auto& l : linhas) {
        const bool parado = l.seccao == Seccao_Plantel::Indisponiveis || l.seccao == Seccao_Plantel::Emprestados;
        s1.set_identidade(r, l.rowid);
        s1.set_cor_linha(r, cor_da_seccao(l.seccao));
        s1.set_BackColor(2, r, da_posicao(l.pos));
        s1.set_ForeColor(2, r, Qt::white);
        s1.set_Lock(1, r, parado);
        s1.set_Value(1, r, parado ? 0 : l.marca);
        s1.set_Text(2, r, l.pos);
        s1.set_Text(3, r, l.nome);
        s1.set_Text(4, r, std::to_string(l.idade));
        s1.set_Text(5, r, std::to_string(l.forca));
        s1.set_Text(6, r, std::to_string(l.contrato));
        s1.set_Text(7, r, formatar_dinheiro(l.ordenado));
        s1.set_Text(8, r, formatar_dinheiro(l.preco));
        s1.set_Text(9, r, std::to_string(l.golos));
        if (l.contrato == 1 && l.seccao != Seccao_Plantel::Indisponiveis) s1.set_BackColor(6, r, Vermelho_Claro);
        if (l.emprestado && l.seccao != Seccao_Plantel::Emprestados) s1.set_Text(10, r, "X");
        if (l.seccao == Seccao_Plantel::Indisponiveis && l.lesionado) s1.set_Text(12, r, std::to_string(l.lesionado_jor));
        if (l.seccao == Seccao_Plantel::Emprestados) s1.set_Text(11, r, "X");
        ++r;
    }
}

FrmDados::FrmDados() : Ecra(QStringLiteral("FrmDados")) {
    setFixedSize(970, 690);
    criar_menu();

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(10, 34, 610, 646);
    Frame1->setStyleSheet(QStringLiteral("QFrame#Frame1 { background: rgba(255, 255, 255, 200); border-radius: 4px; }"));

    Label36 = rotulo(this, "Label36", "Táctica :", {20, 42, 70, 26});
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(90, 42, 90, 26);
    Combo1->installEventFilter(this);
    connect(Combo1, &QComboBox::activated, this, [this](int) { Combo1_Click(); });

    Label34 = rotulo(this, "Label34", "", {200, 42, 150, 26});
    Label35 = rotulo(this, "Label35", "", {350, 42, 110, 26});
    Label41 = rotulo(this, "Label41", "", {460, 42, 160, 26});

    s1 = new Grelha(this, QStringLiteral("s1"));
    s1->setGeometry(20, 74, 590, 540);
    s1->set_MaxCols(13);
    for (int c = 1; c <= 13; ++c) s1->set_Text(c, 0, Cabecalhos_PT[c - 1]);
    const int larguras[] = {24, 32, 130, 36, 44, 34, 58, 78, 32, 34, 40, 34, 0};
    for (int c = 1; c <= 13; ++c) s1->set_ColWidth(c, larguras[c - 1]);
    for (int c : {4, 5, 6, 7, 8, 9, 12}) s1->set_alinhamento(c, Qt::AlignRight | Qt::AlignVCenter);
    connect(s1, &Grelha::Click, this, [this](int col, int row) { s1_Click(col, row); });
    connect(s1, &Grelha::DblClick, this, [this](int, int row) { s1_DblClick(row); });

    Label32 = rotulo(this, "Label32", "", {20, 622, 290, 22});
    Label42 = rotulo(this, "Label42", "", {20, 646, 290, 22});
    Label39 = rotulo(this, "Label39", "-", {318, 634, 10, 22});
    pic1 = new CaixaImagem(this, QStringLiteral("pic1"));
    pic1->setGeometry(330, 630, 250, 30);
    Label40 = rotulo(this, "Label40", "+", {586, 634, 14, 22});

    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(630, 34, 330, 176);
    Frame2->setStyleSheet(QStringLiteral("QFrame#Frame2 { background: rgba(255, 255, 255, 215); border-radius: 4px; }"));
    Label1 = rotulo(this, "Label1", "Próximo Jogo", {640, 40, 200, 22});
    Label1->setStyleSheet(QStringLiteral("font-weight: bold; color: rgb(0, 0, 96);"));
    Label3 = rotulo(this, "Label3", "", {640, 64, 310, 24});
    Label3->setStyleSheet(QStringLiteral("font-weight: bold;"));
    Label2 = rotulo(this, "Label2", "", {640, 90, 310, 24});
    Label2->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128);"));
    Label18 = rotulo(this, "Label18", "Preço de Bilhetes :", {640, 118, 140, 22});
    Label19 = rotulo(this, "Label19", "", {780, 118, 80, 22});
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(seta(false));
    Image1->hide();
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(seta(true));
    Image2->hide();
    Image3 = new QLabel(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(920, 64, 20, 23);
    Image3->setScaledContents(true);
    Image3->hide();
    Command3 = new QPushButton(this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(870, 148, 80, 54);
    Command3->setIcon(bola_botao());
    Command3->setIconSize(QSize(40, 40));
    Command3->setStyleSheet(QStringLiteral("background: rgb(192, 192, 192);"));
    Command3->setToolTip(QStringLiteral("Próximo Jogo / Next Match"));
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });

    criar_painel_financas();
    ligar_mercado();
    ligar_estatisticas();
    // Every name and amount whole and every column in view, in either
    // language, the grid no wider than that: it takes what its columns need
    // and the panel on its right moves over. The last column is never shown.
    s1->set_ColHidden(13, true);
    s1->set_ColWidth(3, s1->largura_nome());
    s1->set_ColWidth(7, s1->largura_para(QString::fromStdString(formatar_dinheiro(99999))));
    s1->set_ColWidth(8, s1->largura_para(QString::fromStdString(formatar_dinheiro(9999999))));
    for (const char* const* cabecalhos : {Cabecalhos_EN, Cabecalhos_PT}) {
        for (int c = 1; c <= 13; ++c) s1->set_Text(c, 0, cabecalhos[c - 1]);
        s1->acertar_cabecalhos();
    }
    abrir_espaco(*s1, s1->largura_total());
}

// The statistics screens, and the club-name label opening the calendar.
void FrmDados::ligar_estatisticas() {
    const std::pair<const char*, void (*)()> itens[] = {
        {"CC", &Menu_Calendario},             {"CT", &Menu_Calendario_Taca},
        {"MM", &Menu_Melhores_Marcadores},    {"MMS", &Menu_Marcadores_Sempre},
        {"VMJ", &Menu_Media_Jogadores},       {"TE", &Menu_Transferencias_Clube},
        {"TEE", &Menu_Transferencias_Todas},  {"ARJ", &Menu_Assistencias},
        {"clubes_H", &Menu_Historico_Clubes}, {"EE", &Menu_Historico_Clube_Epocas},
        {"HT", &Menu_Historico_Treinador},    {"uv", &Menu_Vencedores}};
    for (auto [nome, abrir] : itens) connect(itens_[nome], &QAction::triggered, this, [abrir] { abrir(); });
    Ligar_Clique(*Label3, &Menu_Calendario);
}

FrmDados::~FrmDados() = default;

void FrmDados::criar_menu() {
    menu_ = new QMenuBar(this);
    menu_->setObjectName(QStringLiteral("menu"));
    menu_->setGeometry(0, 0, 970, 26);
    struct Item {
        const char* nome;
        const char* texto;
        QKeySequence tecla;
    };
    auto acrescentar = [this](QMenu* m, const Item& i) {
        QAction* a = QString::fromUtf8(i.texto) == "-" ? m->addSeparator() : m->addAction(QString::fromUtf8(i.texto));
        a->setObjectName(QString::fromLatin1(i.nome));
        if (!i.tecla.isEmpty()) a->setShortcut(i.tecla);
        itens_[i.nome] = a;
        return a;
    };
    auto topo = [this](QMenuBar* barra, const char* nome, const char* texto) {
        QMenu* m = barra->addMenu(QString::fromUtf8(texto));
        m->setObjectName(QString::fromLatin1(nome));
        m->menuAction()->setObjectName(QString::fromLatin1(nome));
        itens_[nome] = m->menuAction();
        return m;
    };
    QMenu* g = topo(menu_, "GVantario", "&Golvantario");
    acrescentar(g, {"acerca", "Acerca", {}})->setVisible(false);
    acrescentar(g, {"we", "-", {}});
    connect(acrescentar(g, {"sair", "Sair", {}}), &QAction::triggered, this, [this] { sair_click(); });

    QMenu* u = topo(menu_, "Util", "&Utilidades");
    acrescentar(u, {"EB", "Empréstimo Bancário", QKeySequence(Qt::CTRL | Qt::Key_B)});
    acrescentar(u, {"hjh", "-", {}});
    acrescentar(u, {"LT", "Lista de Transferências", QKeySequence(Qt::Key_F1)});
    acrescentar(u, {"LJT", "Lista de Jogadores (Todos)", QKeySequence(Qt::Key_F2)});
    acrescentar(u, {"jfdhgk", "-", {}});
    acrescentar(u, {"TE", "Transferências Efectuadas", QKeySequence(Qt::Key_F3)});
    acrescentar(u, {"TEE", "Todas as Transferências", QKeySequence(Qt::Key_F4)});
    acrescentar(u, {"hg", "-", {}});
    QMenu* h = u->addMenu(QStringLiteral("Histórico"));
    h->setObjectName(QStringLiteral("H"));
    h->menuAction()->setObjectName(QStringLiteral("H"));
    itens_["H"] = h->menuAction();
    acrescentar(h, {"clubes_H", "Equipas (Pontuação)", {}});
    acrescentar(h, {"EE", "Equipas (Época)", {}});
    acrescentar(h, {"HT", "Treinador", {}});
    acrescentar(h, {"uv", "Últimos Vencedores", {}});
    acrescentar(u, {"dsg", "-", {}});
    acrescentar(u, {"estadio", "Capacidade do Estádio", QKeySequence(Qt::CTRL | Qt::Key_E)});
    acrescentar(u, {"ARJ", "Assistências/Receitas dos Jogos ", QKeySequence(Qt::CTRL | Qt::Key_A)});
    acrescentar(u, {"iu", "-", {}});
    acrescentar(u, {"estagio", "Estágio", {}});

    QMenu* ig = topo(menu_, "IG", "&Informações Gerais");
    acrescentar(ig, {"CC", "Calendário Campeonato", QKeySequence(Qt::Key_F5)});
    connect(acrescentar(ig, {"CCamp", "Classificação Campeonato", QKeySequence(Qt::Key_F6)}), &QAction::triggered, this,
            [] { Abrir_Tabelas_Consulta(); });
    acrescentar(ig, {"EA", "Constituição das Outras Equipas", QKeySequence(Qt::Key_F7)});
    acrescentar(ig, {"jgh", "-", {}});
    acrescentar(ig, {"MM", "Melhores Marcadores", QKeySequence(Qt::CTRL | Qt::Key_M)});
    acrescentar(ig, {"MMS", "Melhores Marcadores de Sempre", QKeySequence(Qt::CTRL | Qt::Key_S)});
    acrescentar(ig, {"VMJ", "Valor Médio Jogadores", QKeySequence(Qt::CTRL | Qt::Key_V)});
    acrescentar(ig, {"qwer", "-", {}});
    acrescentar(ig, {"CT", "Calendário Taça", QKeySequence(Qt::CTRL | Qt::Key_T)});

    // The squad grid's popups live with the menu but never show in the bar.
    filem_ = new QMenu(this);
    filem_->setObjectName(QStringLiteral("filem"));
    for (Item i : {Item{"vender", "Vender", {}}, Item{"emprestar", "Emprestar", {}}, Item{"uy", "-", {}},
                   Item{"RC", "Renovar Contrato", {}}, Item{"CJE", "Comprar Jog. Emprestado", {}}})
        acrescentar(filem_, i);
    emp_ = new QMenu(this);
    emp_->setObjectName(QStringLiteral("emp"));
    acrescentar(emp_, {"Emp_equip", "Emprestar", {}});

    for (auto& [nome, accao] : itens_) addAction(accao);   // shortcuts work anywhere on the desk
    connect(itens_["vender"], &QAction::triggered, this, [this] { negocio(&Vender_Jogador, 13); });
    connect(itens_["emprestar"], &QAction::triggered, this, [this] { negocio(&Emprestar_Jogador, 11); });
    connect(itens_["RC"], &QAction::triggered, this, [this] { renovar(); });
    connect(itens_["CJE"], &QAction::triggered, this, [this] { comprar_emprestado(); });
    itens_["Emp_equip"]->setText(QStringLiteral("J"));
}

// The market's screens, and the next-match line opening the opponent's squad.
void FrmDados::ligar_mercado() {
    const std::pair<const char*, void (*)()> itens[] = {{"EB", &Abrir_Banco},       {"LT", &Abrir_Lista_Venda},
                                                       {"LJT", &Abrir_Lista_Jogadores}, {"estadio", &Abrir_Estadio},
                                                       {"estagio", &Abrir_Estagio},     {"EA", &Abrir_Equipa_Adversario}};
    for (auto [nome, abrir] : itens) connect(itens_[nome], &QAction::triggered, this, [abrir] { abrir(); });
    Label2->setCursor(Qt::PointingHandCursor);
    Ao_Clicar(*Label2, &Abrir_Equipa_Adversario);
}

void FrmDados::refrescar_plantel() {
    Actualizar_Financas();
    Preencher_Plantel(*s1, Tactica_Actual());
    Combo_Tacticas vista(*Combo1);
    Preencher_Tacticas(vista);
}

void FrmDados::criar_painel_financas() {
    Frame3 = new QFrame(this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setGeometry(630, 220, 330, 460);
    Frame3->setStyleSheet(QStringLiteral("QFrame#Frame3 { background: rgba(255, 255, 255, 215); border-radius: 4px; }"));
    Label4 = rotulo(this, "Label4", "Situação Financeira", {640, 226, 300, 22});
    Label4->setStyleSheet(QStringLiteral("font-weight: bold; color: rgb(0, 0, 96);"));
    struct Par {
        int legenda, valor;
        const char* texto;
    };
    // Caption and value label pairs, top to bottom.
    const Par pares[] = {{11, 12, "Total Dinheiro :"},         {5, 6, "Total Dinheiro Gasto "},
                         {7, 8, "Total Dinheiro Ganho "},      {0, 13, ""},
                         {9, 10, "Ordenados :"},               {29, 28, "Ordenados (Total) :"},
                         {14, 15, "Banco (divida) :"},         {17, 16, "Banco (pag. jornada)"},
                         {23, 22, "Dinh. Gasto (Empréstimo)"}, {21, 20, "Dinh. Ganho (Empréstimo) "},
                         {27, 26, "Dinh. Gasto (Comp. Jog.) "}, {25, 24, "Dinh. Ganho (Venda Jog.) "},
                         {31, 30, "Receita Estádio :"}};
    int y = 254;
    for (const Par& p : pares) {
        if (p.legenda) {
            auto nome = "Label" + std::to_string(p.legenda);
            financas_[p.legenda] = rotulo(this, nome.c_str(), p.texto, {640, y, 170, 22});
        }
        auto nome = "Label" + std::to_string(p.valor);
        auto* v = rotulo(this, nome.c_str(), "", {810, y, 140, 22});
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        financas_[p.valor] = v;
        y += p.legenda ? 26 : 30;
        if (p.valor == 13) {
            Line1 = new QFrame(this);
            Line1->setObjectName(QStringLiteral("Line1"));
            Line1->setFrameShape(QFrame::HLine);
            Line1->setGeometry(640, y - 4, 310, 2);
        }
    }
    financas_[37] = rotulo(this, "Label37", "", {640, y + 6, 310, 22});
    financas_[38] = rotulo(this, "Label38", "", {640, y + 30, 310, 40});
    financas_[38]->setWordWrap(true);
}

void FrmDados::Form_Load() {
    itens_["TE"]->setText(QString::fromStdString("Jogadores Transferidos (" + Clube_Treinador + ")"));
    if (ingles()) Traduzir_Ingles();
    setWindowTitle(QString::fromStdString(Titulo_Secretaria()));
    Image3->hide();
    try {
        if (Jornada_Actual > 2) Evolucao_Jor();
    } catch (const db::Erro_BD&) {
        // The trend is a nicety; a missing history leaves the arrow hidden.
    }
    ui().processar_eventos();
    Act_V_E_D_GC_PC();
    Label34->setText(QString::fromUtf8(Texto_Modo_Jogo().c_str()));
    Label35->setText(QString::fromStdString(Texto_Divisao()));
    Label41->setText(QString::fromStdString(Texto_Contrato()));
    Proposta_Feita = 0;
    Estagio_Feito = 0;
    Preencher_Plantel(*s1, Tactica_Actual());
    Combo_Tacticas vista(*Combo1);
    Combo1->setStyleSheet(QStringLiteral("background: rgb(192, 255, 192);"));
    Preencher_Tacticas(vista);
    registar_painel_financas([this] { Actualizar_Financas(); });
    Actualizar_Financas();
    Actualizar_Equipas_Jogo();
    Prestacao_Paga = 0;
    auto d = Desempenho_Treinador();
    Valor_Aux = d.valor;
    Barra_Percentagem(*pic1, d.fraccao, d.texto);
    if (auto aviso = Aviso_Contratos(); !aviso.empty()) ui().aviso(aviso, Icone::Exclamacao);
    Centrar_Form(*this);
}

void FrmDados::Form_Unload() { registar_painel_financas({}); }

bool FrmDados::Form_QueryUnload() {
    // The game is saved as it is played: closing the desk leaves the game,
    // as the menu's exit does, rather than an empty main window.
    sair_click();
    return true;
}

void FrmDados::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

void FrmDados::Traduzir_Ingles() {
    const std::pair<const char*, const char*> menu[] = {
        {"vender", "Sell Player"},           {"emprestar", "Loan Player"},
        {"RC", "Contract Renewal"},          {"CJE", "Buy Loan Player"},
        {"acerca", "About Golvantario"},     {"sair", "Exit Game"},
        {"EB", "Bank Loan"},                 {"LT", "Transfer List"},
        {"LJT", "All Players List"},         {"TEE", "All Players Transfers"},
        {"H", "History"},                    {"clubes_H", "Teams (Points)"},
        {"EE", "Teams (Year)"},              {"HT", "Manager"},
        {"uv", "Last Winners"},              {"estadio", "Stadium"},
        {"ARJ", "Match Assistance"},         {"estagio", "Training"},
        {"CC", "Championship Matchs"},       {"CCamp", "Championship Tables"},
        {"EA", "Opponent Teams (Players)"},  {"MM", "Best Scorers"},
        {"MMS", "Best Scorers (Ever)"},      {"VMJ", "Players Average Values"},
        {"CT", "Cup Matchs"},                {"Util", "&Utilities"},
        {"IG", "&General Information"}};
    for (auto [nome, texto] : menu) itens_[nome]->setText(QString::fromUtf8(texto));
    itens_["TE"]->setText(QString::fromStdString("Players Transfers (" + Clube_Treinador + ")"));
    const std::pair<QLabel*, const char*> rotulos[] = {
        {Label36, "Tactic :"},           {Label1, "Next Match"},
        {Label4, "Financial Details"},   {financas_[31], "Stadium Income"},
        {financas_[23], "Money Spent (Loans)"}, {financas_[21], "Money Income (Loans)"},
        {financas_[27], "Money Spent (Sell Pl.)"}, {financas_[25], "Money Income (Buy Pl.)"},
        {financas_[5], "Total Money Spent"}, {financas_[7], "Total Money Income"},
        {financas_[9], "Wages"},         {financas_[29], "Wages (Total)"},
        {financas_[14], "Bank Loan (Total)"}, {financas_[17], "Bank Loan (Match)"},
        {financas_[11], "Total Money :"}, {Label18, "Tickets Price :"}};
    for (auto [l, texto] : rotulos) l->setText(QString::fromUtf8(texto));
    for (int c = 1; c <= 13; ++c) s1->set_Text(c, 0, Cabecalhos_EN[c - 1]);
}

void FrmDados::Act_V_E_D_GC_PC() {
    auto s = gv::Act_V_E_D_GC_PC();
    if (!s.vitorias_empates_derrotas.empty()) Label32->setText(QString::fromStdString(s.vitorias_empates_derrotas));
    if (!s.sem_perder_ganhar.empty()) Label42->setText(QString::fromStdString(s.sem_perder_ganhar));
}

void FrmDados::Evolucao_Jor() {
    int e = gv::Evolucao_Jor();
    if (e == 0) return;
    Image3->setPixmap((e < 0 ? Image1 : Image2)->pixmap());
    Image3->show();
}

void FrmDados::Actualizar_Equipas_Jogo() {
    Proximo_Jogo p;
    try {
        p = gv::Actualizar_Equipas_Jogo();
    } catch (const db::Erro_BD&) {
        return;
    }
    Label3->setText(QString::fromStdString(p.clube));
    Label2->setText(QString::fromStdString(p.jogo));
    if (!p.titulo_taca.empty()) setWindowTitle(QString::fromStdString(p.titulo_taca));
    Label18->setVisible(p.mostra_preco);
    Label19->setText(p.mostra_preco ? QString::fromStdString(formatar_preco_bilhete(p.preco_milesimas)) : QString());
    preco_bilhete_ = p.preco_bilhete;
}

void FrmDados::Actualizar_Financas() {
    Painel_Financas p;
    try {
        p = Calcular_Painel_Financas();
    } catch (const db::Erro_BD&) {
        return;   // the panel keeps what it showed
    }
    auto por = [this](int n, long v) { financas_[n]->setText(QString::fromStdString(formatar_dinheiro(v))); };
    // Without the manager's row the money labels keep what they showed.
    if (p.tem_principal) {
        por(6, p.d_out);
        por(8, p.d_in);
        por(13, p.liquido);
        por(15, p.divida);
        por(16, p.mensal);
        por(12, p.saldo);
        por(22, p.emp_out);
        por(20, p.emp_in);
        por(26, p.venda_out);
        por(24, p.venda_in);
        por(28, p.d_ord);
        por(30, p.estadio);
        auto cor = [](long v) {
            QColor c = v < 0 ? Vermelho_Escuro : Azul_Escuro;
            return QStringLiteral("color: rgb(%1, %2, %3);").arg(c.red()).arg(c.green()).arg(c.blue());
        };
        financas_[13]->setStyleSheet(cor(p.liquido));
        financas_[12]->setStyleSheet(cor(p.saldo));
    }
    por(10, p.ordenados);
    financas_[37]->setText(QString::fromStdString(p.jogadores));
    financas_[38]->setText(QString::fromStdString(p.valores));
}

QAction* FrmDados::item_menu(const char* nome) const {
    auto it = itens_.find(nome);
    return it == itens_.end() ? nullptr : it->second;
}

bool FrmDados::eventFilter(QObject* alvo, QEvent* evento) {
    // The formation is chosen from the list only.
    if (alvo == Combo1 && evento->type() == QEvent::KeyPress) return true;
    return Ecra::eventFilter(alvo, evento);
}

void FrmDados::Combo1_Click() {
    if (Combo1->currentIndex() < 0 || Combo1->currentText().isEmpty()) return;
    Preencher_Plantel(*s1, Combo1->currentText().toStdString());
    Combo1->setStyleSheet(QStringLiteral("background: rgb(192, 255, 192);"));
}

void FrmDados::sair_click() { Terminar_Programa(); }

void FrmDados::s1_Click(int col, int row) {
    if (row < 1 || row > s1->MaxRows()) return;
    if (col == 1) {
        const QColor cor = s1->BackColor(3, row);
        if (cor == Vermelho_Claro) ui().aviso(txt("Este jogador encontra-se Lesionado.", "This player is injury."), Icone::Critico);
        if (cor == Cinzento)
            ui().aviso(txt("Este jogador não se encontra no clube.", "This player isn't in the club."), Icone::Critico);
        return;
    }
    // The information popup: career goals, or where a lent-out player plays.
    QString texto;
    try {
        const long long id = s1->identidade(row);
        if (col == 9) {
            auto v = Base_Dados->valor(
                "SELECT max(m.golos) FROM Melhores_Marcadores_Sempre m INNER JOIN jogadores j ON j.rowid = ? "
                "WHERE m.equipa = ? AND m.nome = j.nome AND m.pos = j.pos AND m.idade = j.idade",
                {id, Clube_Treinador});
            texto = QString::fromStdString(txt("Nº Total de Golos Marcados: ", "Total Goals Scorer: ") +
                                           std::to_string(v.int32()));
        } else if (s1->Text(11, row).size() == 1) {
            std::string clube = Base_Dados->valor("SELECT equipa FROM jogadores WHERE rowid = ? AND clube_origem = ?",
                                                  {id, Clube_Treinador}).texto();
            if (clube.empty()) return;
            texto = QString::fromStdString(txt("Jogador Emprestado: ", "Team who have the player: ") + clube + " (" +
                                           std::to_string(Divisao_Clube(clube)) + "ª Divisão)");
        }
    } catch (const db::Erro_BD&) {
        return;
    }
    if (texto.isEmpty()) return;
    itens_["Emp_equip"]->setText(texto);
    emp_->popup(QCursor::pos());
}

void FrmDados::s1_DblClick(int row) {
    if (row < 1 || row > s1->MaxRows()) return;
    linha_menu_ = row;
    const bool emprestado_ca = !s1->Text(10, row).isEmpty();
    if (!s1->Text(11, row).isEmpty() || !s1->Text(12, row).isEmpty() || !s1->Text(13, row).isEmpty()) return;
    itens_["RC"]->setVisible(!emprestado_ca && s1->Text(6, row) == "1");
    itens_["vender"]->setVisible(!emprestado_ca);
    itens_["emprestar"]->setVisible(!emprestado_ca);
    itens_["CJE"]->setVisible(s1->Text(10, row).toUpper() == "X");
    filem_->popup(QCursor::pos());
}

void FrmDados::negocio(Resultado_Negocio (*accao)(long long), int coluna_marca) {
    const int r = linha_menu_;
    if (r < 1 || r > s1->MaxRows()) return;
    if (accao(s1->identidade(r)) != Resultado_Negocio::Feito) return;
    // The player stays listed, greyed and marked, until the grid is filled again.
    s1->set_cor_linha(r, Cinzento);
    s1->set_Value(1, r, 0);
    s1->set_Text(coluna_marca, r, "X");
    Actualizar_Financas();
    Combo_Tacticas vista(*Combo1);
    Preencher_Tacticas(vista);
}

void FrmDados::renovar() {
    const int r = linha_menu_;
    if (r < 1 || r > s1->MaxRows()) return;
    const long long id = s1->identidade(r);
    double ordenado = 0;
    if (Renovar_Contrato(id, &ordenado) != Resultado_Negocio::Feito) return;
    auto rs = Base_Dados->OpenRecordset("SELECT contrato FROM jogadores WHERE rowid = ?", {id});
    if (!rs.Eof()) {
        s1->set_Text(6, r, std::to_string(rs["contrato"].int32()));
        s1->set_Text(7, r, formatar_dinheiro(static_cast<long long>(std::floor(ordenado))));
        s1->set_BackColor(6, r, s1->BackColor(5, r));
    }
    Actualizar_Financas();
}

void FrmDados::comprar_emprestado() {
    const int r = linha_menu_;
    if (r < 1 || r > s1->MaxRows()) return;
    if (Comprar_Jogador_Emprestado(s1->identidade(r)) != Resultado_Negocio::Feito) return;
    Actualizar_Financas();
    Preencher_Plantel(*s1, Tactica_Actual());
}

std::vector<Linha_Escolha> FrmDados::escolhas() const {
    std::vector<Linha_Escolha> r;
    for (int linha = 1; linha <= s1->MaxRows(); ++linha) {
        Linha_Escolha l;
        l.rowid = s1->identidade(linha);
        l.marca = s1->Value(1, linha);
        l.pos = s1->texto(2, linha);
        l.nome = s1->texto(3, linha);
        l.impedido = !s1->Text(11, linha).isEmpty() || !s1->Text(12, linha).isEmpty() || !s1->Text(13, linha).isEmpty();
        l.cinzento = s1->BackColor(5, linha) == Cinzento;
        l.vermelho = s1->BackColor(1, linha) == Vermelho_Claro;
        r.push_back(l);
    }
    return r;
}

bool FrmDados::Verificacao_N_Jogadores() {
    auto v = gv::Verificacao_N_Jogadores(escolhas());
    for (const auto& m : v.mensagens) ui().aviso(m, Icone::Critico);
    // A player who can't play stops the check at his row, before the counts.
    if (v.parou_na_linha) return false;
    if (v.combo_vermelho) Combo1->setStyleSheet(QStringLiteral("background: rgb(255, 192, 192);"));
    Combo_Tacticas vista(*Combo1);
    Preencher_Tacticas(vista);
    return !v.falhou;
}

void FrmDados::Command3_Click() {
    const Ecra_Jogo ecra = Ecra_Da_Jornada();
    if (ecra == Ecra_Jogo::Fim_De_Epoca) {
        // A game left between the last round and the season change goes on there.
        Navegacao::passar_para<FrmFinal_Camp>();
        Unload();
        return;
    }
    if (!Verificacao_N_Jogadores()) return;
    try {
        Actualizar_Dados_Jogadores_Equipa(escolhas());
    } catch (const db::Falha_BD& e) {
        ui().aviso(std::string(txt("Não foi possível guardar a equipa.", "The line-up could not be saved.")) +
                       Linha_Causa(e),
                   Icone::Critico);
        return;
    }
    if (Proposta_Feita == 0) {
        auto r = Propostas();
        if (r == Resultado_Proposta::Emprestimo || r == Resultado_Proposta::Venda)
            Preencher_Plantel(*s1, Tactica_Actual());
        Actualizar_Financas();
    }
    // An accepted offer may have taken a picked player.
    if (!Verificacao_N_Jogadores()) return;
    // Computer clubs buy from this matchday's transfer list, which then goes;
    // the instalment and the scorers' tidy-up are saved with the round.
    Entregar_A_Ronda(Lista_Venda_Por_Negociar(), preco_bilhete_);
    if (ecra == Ecra_Jogo::Taca)
        Navegacao::passar_para<FrmJogos_Taca>();
    else
        Navegacao::passar_para<FrmJogos_Camp>();
    Unload();
    ui().processar_eventos();
}

} // namespace gv
