#include "startup/frmentrada.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include "data/erros.h"
#include "data/estado.h"
#include "desk/frmdados.h"
#include "editor/frmeditor.h"
#include "platform/qt/controlos.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/navegacao.h"
#include "startup/arranque.h"
#include "startup/bandeiras.h"
#include "startup/frmtiler.h"
#include "startup/jogo.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

namespace {

struct Pais {
    const char* opcao;
    const char* imagem;
    const char* codigo;
    const char* dica;
};
constexpr std::array<Pais, 6> Paises{{{"Option1", "Image1", "pt", "Portugal"},
                                      {"Option2", "Image2", "br", "Brazil"},
                                      {"Option3", "Image3", "en", "England"},
                                      {"Option6", "Image6", "es", "Spain"},
                                      {"Option7", "Image7", "it", "Italy"},
                                      {"Option8", "Image8", "wd", "Best Teams of the World"}}};

const QStringList Divisoes{QStringLiteral("1ª Divisão"), QStringLiteral("2ª Divisão"), QStringLiteral("3ª Divisão")};

QLabel* imagem(QWidget* pai, const char* nome, const QPixmap& px, QRect onde, const char* dica) {
    auto* l = com_nome(new QLabel(pai), nome);
    l->setPixmap(px);
    l->setGeometry(onde);
    l->setToolTip(QString::fromUtf8(dica));
    l->setCursor(Qt::PointingHandCursor);
    return l;
}

} // namespace

Frmentrada::Frmentrada() : Ecra(QStringLiteral("Frmentrada")) {
    setWindowTitle(QStringLiteral("Golvantario"));
    setFixedSize(600, 430);

    Frame4 = moldura(this, "Frame4", "Nome Jogador/Player Name", {16, 12, 264, 62});
    Text1 = com_nome(new QLineEdit(Frame4), "Text1");
    Text1->setMaxLength(15);
    Text1->setGeometry(12, 26, 240, 26);

    Frame6 = moldura(this, "Frame6", "Clubes/Teams", {16, 84, 264, 122});
    for (std::size_t i = 0; i < Paises.size(); ++i) {
        const Pais& p = Paises[i];
        int x = 12 + static_cast<int>(i % 3) * 84, y = 28 + static_cast<int>(i / 3) * 44;
        opcoes_pais[i] = com_nome(new QRadioButton(Frame6), p.opcao);
        opcoes_pais[i]->setGeometry(x, y + 4, 22, 22);
        opcoes_pais[i]->setToolTip(QString::fromUtf8(p.dica));
        bandeiras[i] = imagem(Frame6, p.imagem, bandeira(p.codigo), {x + 24, y, 36, 24}, p.dica);
        bandeiras[i]->installEventFilter(this);
        connect(opcoes_pais[i], &QRadioButton::toggled, this, [this, i](bool ligado) {
            if (!ligado) return;
            // A new country starts again from its first division.
            encher_divisoes();
            ler_clubes(Paises[i].codigo);
            encher_clubes();
        });
    }

    Frame7 = moldura(this, "Frame7", "Linguagem/Language", {16, 216, 264, 62});
    Option4 = com_nome(new QRadioButton(Frame7), "Option4");
    Option4->setGeometry(12, 30, 22, 22);
    Option4->setToolTip(QStringLiteral("Portuguese"));
    Image4 = imagem(Frame7, "Image4", bandeira("pt"), {36, 28, 36, 24}, "Portuguese");
    Option5 = com_nome(new QRadioButton(Frame7), "Option5");
    Option5->setGeometry(96, 30, 22, 22);
    Option5->setToolTip(QStringLiteral("English"));
    Image5 = imagem(Frame7, "Image5", bandeira("uk"), {120, 28, 36, 24}, "English");
    Image4->installEventFilter(this);
    Image5->installEventFilter(this);
    // Qt's own buttons and dialogs follow the language chosen here.
    connect(Option4, &QRadioButton::toggled, this, [](bool ligado) {
        if (!ligado) return;
        Lingua = "P";
        Lingua_Qt(true);
    });
    connect(Option5, &QRadioButton::toggled, this, [](bool ligado) {
        if (!ligado) return;
        Lingua = "I";
        Lingua_Qt(false);
    });

    Frame2 = moldura(this, "Frame2", "Divisão/Division", {296, 12, 288, 62});
    Combo2 = com_nome(new QComboBox(Frame2), "Combo2");
    Combo2->setGeometry(12, 26, 264, 26);
    connect(Combo2, &QComboBox::activated, this, [this](int) { encher_clubes(); });

    Frame5 = moldura(this, "Frame5", "Equipa/Team", {296, 84, 288, 62});
    Combo3 = com_nome(new QComboBox(Frame5), "Combo3");
    Combo3->setGeometry(12, 26, 264, 26);
    Combo3->setMaxVisibleItems(18);

    Frame3 = moldura(this, "Frame3", "Dinheiro/Money", {296, 156, 288, 62});
    Combo1 = com_nome(new QComboBox(Frame3), "Combo1");
    Combo1->setGeometry(12, 26, 264, 26);

    // The combos take choices from their lists only: typed keys are dropped.
    for (QComboBox* c : {Combo1, Combo2, Combo3}) c->installEventFilter(this);

    auto* caixa_real = new QWidget(this);
    caixa_real->setGeometry(296, 228, 288, 50);
    caixa_real->setStyleSheet(QStringLiteral("background: rgba(255, 255, 255, 225); border-radius: 4px;"));
    Check1 = com_nome(new QCheckBox(caixa_real), "Check1");
    Check1->setGeometry(8, 13, 22, 22);
    Label1 = com_nome(new QLabel(QStringLiteral("Jogo Real (Despedimentos/Promoções)"), caixa_real), "Label1");
    Label1->setGeometry(32, 4, 252, 20);
    Label2 = com_nome(new QLabel(QStringLiteral("Real Game (Player can be Fired and Invited)"), caixa_real), "Label2");
    Label2->setGeometry(32, 24, 252, 20);
    for (QLabel* l : {Label1, Label2}) l->setStyleSheet(QStringLiteral("font-size: 8pt; color: rgb(0, 0, 96);"));

    auto botao = [this](const char* nome, const char* texto, QRect onde) {
        auto* b = com_nome(new QPushButton(QString::fromUtf8(texto), this), nome);
        b->setGeometry(onde);
        return b;
    };
    Command1 = botao("Command1", "Novo Jogo/New Game", {16, 300, 260, 40});
    Command2 = botao("Command2", "Continuar Jogo/Load Game", {296, 300, 288, 40});
    Command4 = botao("Command4", "Editor Equipas/Teams Editor", {16, 350, 260, 34});
    Command3 = botao("Command3", "Sair/Exit", {296, 350, 288, 34});

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [] { Terminar_Programa(); });
    connect(Command4, &QPushButton::clicked, this, [this] {
        Navegacao::passar_para<FrmEditor>();
        Unload();
    });
}

void Frmentrada::Form_Load() {
    Centrar_Form(*this);
    Lingua = "P";
    Lingua_Qt(true);
    Text1->clear();
    Combo1->clear();
    Combo1->addItems({QStringLiteral("5,000,000"), QStringLiteral("2,000,000"), QStringLiteral("1,000,000")});
    Combo1->setCurrentIndex(1);
    Check1->setChecked(true);
    Option4->setChecked(true);
    {
        const QSignalBlocker sem_sinal(opcoes_pais[0]);
        opcoes_pais[0]->setChecked(true);
    }
    encher_divisoes();
    ler_clubes("pt");
    encher_clubes();
}

bool Frmentrada::Form_QueryUnload() {
    // Closing the first screen leaves the program, as its exit button does.
    Terminar_Programa();
    return true;
}

void Frmentrada::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

std::string Frmentrada::pais_escolhido() const {
    for (std::size_t i = 0; i < Paises.size(); ++i)
        if (opcoes_pais[i]->isChecked()) return Paises[i].codigo;
    return {};
}

void Frmentrada::ler_clubes(const std::string& cc) {
    try {
        clubes_ = Ler_Clubes_Pais(cc);
    } catch (const db::Erro_BD& e) {
        clubes_ = {};
        ui().aviso(std::string(txt("Não foi possível ler a base de dados do programa ",
                                   "The program's database could not be read ")) +
                       "(" + caminho_base_mestra() + ")." + Linha_Causa(e),
                   Icone::Critico);
    }
}

void Frmentrada::encher_divisoes() {
    Combo2->clear();
    Combo2->addItems(Divisoes);
    Combo2->setCurrentIndex(0);
}

void Frmentrada::encher_clubes() {
    Combo3->clear();
    int div = std::clamp(Combo2->currentIndex(), 0, 2);
    for (const auto& c : clubes_[div]) Combo3->addItem(QString::fromStdString(c));
    Combo3->setCurrentIndex(Combo3->count() ? 0 : -1);
}

bool Frmentrada::eventFilter(QObject* alvo, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress && (alvo == Combo1 || alvo == Combo2 || alvo == Combo3)) return true;
    if (evento->type() == QEvent::MouseButtonRelease) {
        // A click on a flag picks its option.
        for (std::size_t i = 0; i < bandeiras.size(); ++i)
            if (alvo == bandeiras[i]) opcoes_pais[i]->setChecked(true);
        if (alvo == Image4) Option4->setChecked(true);
        if (alvo == Image5) Option5->setChecked(true);
    }
    return Ecra::eventFilter(alvo, evento);
}

void Frmentrada::Command1_Click() {
    Escolhas_Novo_Jogo e;
    e.nome = Text1->text().toStdString();
    e.pais = pais_escolhido();
    e.clube = Combo3->currentText().toStdString();
    e.dinheiro = Combo1->currentText().toStdString();
    e.jogo_real = Check1->isChecked();
    switch (Novo_Jogo(e)) {
    case Resultado_Jogo::Aberto: abrir_secretaria(); break;
    case Resultado_Jogo::Nome_Em_Falta: Text1->setFocus(); break;
    default: break;
    }
}

void Frmentrada::Command2_Click() {
    if (Carregar_Jogo() == Resultado_Jogo::Aberto) abrir_secretaria();
}

void Frmentrada::abrir_secretaria() {
    Navegacao::passar_para<FrmDados>();
    Unload();
}

} // namespace gv
