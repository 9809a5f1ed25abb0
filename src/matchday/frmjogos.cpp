#include "matchday/frmjogos.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

#include "data/clubes.h"
#include "data/estado.h"
#include "data/liga.h"
#include "desk/frmdados.h"
#include "matchday/ronda.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/grelha.h"
#include "platform/qt/navegacao.h"
#include "platform/texto.h"
#include "season/frmtabelas.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

namespace {

const QColor Amarelo_Claro{255, 255, 192}, Cinzento{224, 224, 224}, Azul_Claro{192, 192, 255};
const QColor Azul_Escuro{0, 0, 192}, Vermelho{255, 0, 0};
// The winner's and the loser's club cells, and their goals.
const QColor Verde_Claro{192, 255, 192}, Vermelho_Claro{255, 192, 192}, Verde{0, 192, 0};

// The screen as built, its grid's height, and what a window manager's title
// bar and borders take, as far as it can be known before the first show.
constexpr int Altura_Ecra = 600, Altura_Grelha = 528, Moldura_Provavel = 32;

// Hands each played match to the screen as it comes.
class Para_O_Ecra : public Observador_Ronda {
public:
    explicit Para_O_Ecra(std::function<void(const Linha_Jogo&)> f) : f_(std::move(f)) {}
    void resultado(const Linha_Jogo& l) override { f_(l); }

private:
    std::function<void(const Linha_Jogo&)> f_;
};

} // namespace

Ecra_Jogos::Ecra_Jogos(const QString& nome, bool taca) : Ecra(nome) {
    setFixedSize(860, Altura_Ecra);
    v1 = new Grelha(this, QStringLiteral("v1"));
    v1->setGeometry(12, 12, 836, Altura_Grelha);
    v1->set_MaxCols(7);
    const char* cabecalhos[] = {"Cap. Est.", "Golos", "", "Casa", "Fora", "", "Golos"};
    for (int c = 1; c <= 7; ++c) v1->set_Text(c, 0, cabecalhos[c - 1]);
    const int larguras[] = {76, 160, 30, 160, 160, 30, 160};
    for (int c = 1; c <= 7; ++c) v1->set_ColWidth(c, larguras[c - 1]);
    for (int c : {1, 3}) v1->set_alinhamento(c, Qt::AlignRight | Qt::AlignVCenter);
    v1->set_alinhamento(4, Qt::AlignRight | Qt::AlignVCenter);
    timer_ = new QTimer(this);
    timer_->setObjectName(QString::fromLatin1(taca ? "Timer2" : "Timer1"));
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, [this] {
        // A tick that comes while the round is being played does nothing.
        if (a_jogar_) return;
        a_jogar_ = true;
        Timer_Tick();
        a_jogar_ = false;
    });
    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(370, 552, 120, 34);
    Command1->setEnabled(false);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->hide();
    // A scorer with his minute in a drop-down, a club with its division.
    for (int c : {2, 7}) v1->set_ColWidth(c, v1->largura_nome(QStringLiteral("00'-"), {}, true));
    v1->set_ColWidth(4, v1->largura_nome(QStringLiteral("(0) ")));
    v1->set_ColWidth(5, v1->largura_nome({}, QStringLiteral(" (0)")));
    // Attendances and scores no wider than they are, so the names leave the
    // screen inside the main window.
    v1->set_ColWidth(1, v1->largura_para(QString::fromStdString(formatar_dinheiro(999999))));
    for (int c : {3, 6}) v1->set_ColWidth(c, v1->largura_para(QStringLiteral("00")));
    v1->acertar_cabecalhos();
    abrir_espaco(*v1, v1->largura_total());
    largura_com_barra_ = width();
    Command1->move((width() - Command1->width()) / 2, Command1->y());
}

void Ecra_Jogos::Form_Load() {
    if (ingles()) Traduzir_Ingles();
    Rato_Ocupado();
    Ronda_Jogada = 0;
    ler_jogos();
    if (const QScreen* ecra = screen() ? screen() : QGuiApplication::primaryScreen())
        caber_em(ecra->availableGeometry());
    Centrar_Form(*this);
    // Scores and clubs in dark blue; the manager's club stands out in red.
    for (int r = 1; r <= v1->MaxRows(); ++r)
        for (int c = 3; c <= 6; ++c)
            if (v1->ForeColor(c, r) != Vermelho) v1->set_ForeColor(c, r, Azul_Escuro);
    timer_->start();
    Rato_Normal();
}

void Ecra_Jogos::caber_em(const QRect& livre) {
    const QTableWidget& t = v1->tabela();
    const int linhas = 2 * t.frameWidth() + t.horizontalHeader()->sizeHint().height() +
                       v1->MaxRows() * t.verticalHeader()->defaultSectionSize();
    const int resto = Altura_Ecra - Altura_Grelha;   // the margins and the button
    const int moldura = std::max(frameGeometry().height() - height(), Moldura_Provavel);
    const int altura = std::min(std::max(Altura_Ecra, linhas + resto), livre.height() - moldura);
    // The room kept for the grid's scroll bar is given back when every row shows.
    const int barra = t.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &t);
    const int largura = largura_com_barra_ - (linhas + resto <= altura ? barra : 0);
    const int abaixo = height() - Command1->y();
    v1->resize(v1->width() + largura - width(), altura - resto);
    setFixedSize(largura, altura);
    Command1->move((largura - Command1->width()) / 2, altura - abaixo);
}

void Ecra_Jogos::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

void Ecra_Jogos::Traduzir_Ingles() {
    v1->set_Text(1, 0, "Assi.");
    v1->set_Text(2, 0, "Scorers");
    v1->set_Text(4, 0, "Home");
    v1->set_Text(5, 0, "Away");
    v1->set_Text(7, 0, "Scorers");
}

void Ecra_Jogos::mostrar(const Linha_Jogo& l) {
    const int r = l.linha;
    if (r < 1 || r > v1->MaxRows()) return;
    v1->set_Text(1, r, l.texto_assistencia);
    v1->set_Text(3, r, std::to_string(l.golos_casa));
    v1->set_Text(6, r, std::to_string(l.golos_fora));
    v1->set_Lista(2, r, l.marcadores_casa);
    v1->set_Text(2, r, l.ultimo_casa);
    v1->set_Lista(7, r, l.marcadores_fora);
    v1->set_Text(7, r, l.ultimo_fora);
    if (const int v = l.vencedor(); v != 0) {
        const int vencedor = v == 1 ? 4 : 5, vencido = v == 1 ? 5 : 4;
        v1->set_BackColor(vencedor, r, Verde_Claro);
        v1->set_BackColor(vencido, r, Vermelho_Claro);
        v1->set_ForeColor(v == 1 ? 3 : 6, r, Verde);
        v1->set_ForeColor(v == 1 ? 6 : 3, r, Vermelho);
    }
    ui().processar_eventos();
}

bool Ecra_Jogos::Form_QueryUnload() {
    // While the round is being played the window stays: the round runs to
    // its end. Afterwards closing it goes on as OK does.
    if (!Command1->isEnabled()) return false;
    Command1_Click();
    return true;
}

void Ecra_Jogos::jogar(bool taca) {
    timer_->stop();
    if (Ronda_Jogada == 1) return;
    Para_O_Ecra observador([this](const Linha_Jogo& l) { mostrar(l); });
    Rato_Ocupado();
    auto r = taca ? Jogar_Ronda_Taca(&observador) : Jogar_Ronda_Campeonato(&observador);
    Rato_Normal();
    if (r == Resultado_Ronda::Ignorada) return;
    gravada_ = r == Resultado_Ronda::Jogada;
    falhou_ = !gravada_;
    // After a failure nothing was saved: OK goes back to the desk and the
    // same round can be played again.
    Ronda_Jogada = 1;
    Command1->setEnabled(true);
}

// ---------------------------------------------------------------- league

FrmJogos_Camp::FrmJogos_Camp() : Ecra_Jogos(QStringLiteral("FrmJogos_Camp"), false) {}

void FrmJogos_Camp::Ler_Jogos() {
    if (!Base_Dados) return;
    int jornada = Base_Dados->valor("SELECT Jornada FROM principal").int32();
    auto rs = Base_Dados->OpenRecordset("SELECT div, casa, fora FROM jogos WHERE jor = ? ORDER BY div, rowid", {jornada});
    v1->set_MaxRows(rs.RecordCount());
    for (int r = 1; !rs.Eof(); rs.MoveNext(), ++r) {
        switch (rs["div"].int32()) {
        case 1: v1->set_cor_linha(r, Amarelo_Claro); break;
        case 2: v1->set_cor_linha(r, Cinzento); break;
        case 3: v1->set_cor_linha(r, Azul_Claro); break;
        default: break;
        }
        const std::string casa = rs["casa"].texto(), fora = rs["fora"].texto();
        v1->set_Text(4, r, casa);
        v1->set_Text(5, r, fora);
        if (casa == Clube_Treinador) v1->set_ForeColor(4, r, Vermelho);
        if (fora == Clube_Treinador) v1->set_ForeColor(5, r, Vermelho);
    }
}

void FrmJogos_Camp::Timer_Tick() {
    if (Ronda_Jogada == 1) {
        timer_->stop();
        return;
    }
    setWindowTitle(QString::fromStdString(
        ingles() ? "Championship - " + std::to_string(Jornada_Actual) + "ª Match - " + std::to_string(Epoca_Actual)
                 : "Jogos Campeonato - " + std::to_string(Jornada_Actual) + "ª Jornada - " +
                       std::to_string(Epoca_Actual)));
    jogar(false);
}

void FrmJogos_Camp::Command1_Click() {
    Unload();
    if (!gravada_) {
        // Nothing of the round was saved: back to the desk to play it again.
        Navegacao::passar_para<FrmDados>();
        return;
    }
    // The tables after the round, loaded afresh in the matchday flow (a view
    // left hidden by the desk's menu shows an older table).
    descarregar<FrmTabelas>();
    Tabelas_Modo_Consulta = 0;
    Navegacao::passar_para<FrmTabelas>();
}

// ---------------------------------------------------------------- cup

FrmJogos_Taca::FrmJogos_Taca() : Ecra_Jogos(QStringLiteral("FrmJogos_Taca"), true) {}

QString FrmJogos_Taca::titulo_eliminatoria(int n) {
    const std::string epoca = std::to_string(Epoca_Actual);
    switch (n) {
    case 32:
    case 16:
        return QString::fromStdString("Jogos Taça - " + std::to_string(Eliminatoria_Taca) + "ª eliminatória  - " + epoca);
    case 8: return QString::fromStdString("Jogos Taça - Oitavos Final  - " + epoca);
    case 4: return QString::fromStdString("Jogos Taça - Quartos Final  - " + epoca);
    case 2: return QString::fromStdString("Jogos Taça - Meias Finais  - " + epoca);
    case 1: return QString::fromStdString("Jogos Taça - Final  - " + epoca);
    default: return {};
    }
}

void FrmJogos_Taca::Ler_Jogos_Taca() {
    if (!Base_Dados) return;
    try {
        auto rs = Base_Dados->OpenRecordset("SELECT casa, fora FROM jogos_taca ORDER BY casa, fora");
        const int n = rs.RecordCount();
        v1->set_MaxRows(n);
        if (QString t = titulo_eliminatoria(n); !t.isEmpty()) setWindowTitle(t);
        if (ingles()) setWindowTitle(QStringLiteral("CUP Championship"));
        for (int r = 1; !rs.Eof(); rs.MoveNext(), ++r) {
            v1->set_cor_linha(r, Amarelo_Claro);
            const std::string casa = rs["casa"].texto(), fora = rs["fora"].texto();
            v1->set_Text(4, r, "(" + std::to_string(Divisao_Clube(casa)) + ") " + casa);
            v1->set_Text(5, r, fora + " (" + std::to_string(Divisao_Clube(fora)) + ")");
            if (casa == Clube_Treinador) v1->set_ForeColor(4, r, Vermelho);
            if (fora == Clube_Treinador) v1->set_ForeColor(5, r, Vermelho);
        }
    } catch (const db::Erro_BD&) {
        // The list is only what is shown before the round; the round reads its own.
    }
}

void FrmJogos_Taca::Timer_Tick() {
    if (Ronda_Jogada == 1) {
        timer_->stop();
        return;
    }
    jogar(true);
}

void FrmJogos_Taca::Command1_Click() {
    // The next round was drawn with this one.
    Unload();
    Navegacao::passar_para<FrmDados>();
}

} // namespace gv
