#include "matchday/frmsubstituicoes.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <vector>

#include "data/esquema.h"
#include "data/erros.h"
#include "data/estado.h"
#include "matchday/frmequipa_adv.h"
#include "matchday/intervalo.h"
#include "platform/qt/controlos.h"
#include "platform/interface_utilizador.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

namespace {

QListWidget* lista(QGroupBox* pai, const char* nome) {
    auto* l = new QListWidget(pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->setGeometry(10, 24, pai->width() - 20, pai->height() - 34);
    l->setFont(Fonte_Lista_Fixa());
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    return l;
}

QLabel* rotulo(QWidget* pai, const char* nome, QRect onde) {
    auto* l = new QLabel(pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->setGeometry(onde);
    l->setStyleSheet(QStringLiteral("background: rgba(255, 255, 255, 215); color: rgb(0, 0, 96);"));
    return l;
}

QPushButton* botao(QWidget* pai, const char* nome, const char* texto, QRect onde) {
    auto* b = new QPushButton(QString::fromUtf8(texto), pai);
    b->setObjectName(QString::fromLatin1(nome));
    b->setGeometry(onde);
    return b;
}

QListWidgetItem* seleccionado(QListWidget* l) {
    const auto s = l->selectedItems();
    return s.isEmpty() ? nullptr : s.front();
}

std::vector<long long> identidades(const QListWidget* l) {
    std::vector<long long> r;
    for (int i = 0; i < l->count(); ++i) r.push_back(l->item(i)->data(PAPEL_ROWID).toLongLong());
    return r;
}

void avisar_erro(const db::Erro_BD& e) {
    ui().aviso(Texto_Erro_Numerado(e), Icone::Exclamacao);
}

} // namespace

Ecra_Substituicoes::Ecra_Substituicoes(const QString& nome, bool taca) : Ecra(nome), taca_(taca) {
    setWindowTitle(QStringLiteral("1ª Parte (Intrevalo) - Substituições"));
    setFixedSize(640, 460);

    Label1 = rotulo(this, "Label1", {16, 12, 608, 30});
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet(Label1->styleSheet() + QStringLiteral(" font-weight: bold; font-size: 12pt;"));

    Frame1 = moldura(this, "Frame1", "Jogadores Titulares", {16, 52, 284, 290});
    List1 = lista(Frame1, "List1");
    Command1 = botao(this, "Command1", "<", {304, 176, 32, 44});
    Frame2 = moldura(this, "Frame2", "Jogadores Suplentes", {340, 52, 284, 290});
    List2 = lista(Frame2, "List2");

    Label2 = rotulo(this, "Label2", {16, 352, 608, 22});
    Label3 = rotulo(this, "Label3", {16, 376, 608, 22});

    Command3 = botao(this, "Command3", "Equipa Adversária", {16, 410, 330, 36});
    Command2 = botao(this, "Command2", "&OK", {504, 410, 120, 36});

    connect(Command1, &QPushButton::clicked, this, [this] { Trocar(true); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { Trocar(false); });
    connect(List2, &QListWidget::itemDoubleClicked, this, [this] { Trocar(false); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
}

FrmSubstituicoes::FrmSubstituicoes() : Ecra_Substituicoes(QStringLiteral("FrmSubstituicoes"), false) {}

FrmSubstituicoes_Taca::FrmSubstituicoes_Taca() : Ecra_Substituicoes(QStringLiteral("FrmSubstituicoes_Taca"), true) {}

void Ecra_Substituicoes::Traduzir_Ingles() {
    setWindowTitle(QStringLiteral("1st Part - Substitutions"));
    Frame1->setTitle(QStringLiteral("Players on the Team"));
    Frame2->setTitle(QStringLiteral("Players to Use"));
}

void Ecra_Substituicoes::Marcar_Intervalo(const std::string& casa, const std::string& fora, int golos_casa,
                                          int golos_fora) {
    setWindowTitle(windowTitle() + QString::fromUtf8(taca_ ? SUFIXO_TACA : SUFIXO_CAMPEONATO));
    Label1->setText(QString::fromStdString(Linha_Intervalo(casa, fora, golos_casa, golos_fora)));
}

void Ecra_Substituicoes::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) Traduzir_Ingles();
    Command3->setText(QString::fromStdString(txt("Equipa Adv.: ", "Opponent Team: ") + Adversario));

    // The referee is only shown: a failed read leaves the names empty.
    Trio_Arbitros trio;
    try {
        trio = Sortear_Arbitros();
    } catch (const db::Erro_BD& e) {
        avisar_erro(e);
    }
    Label2->setText(QString::fromStdString(txt("Arbitro Principal: ", "Referee: ") + trio.ap));
    Label3->setText(QString::fromStdString(txt("(1º Arbitro Aux.: ", "(1st Aux.: ") + trio.aux1 +
                                           txt("; 2º Arbitro Aux.: ", "; 2nd Aux.: ") + trio.aux2 + ")"));

    N_Substituicoes = 0;
    encher(List1, JOGA_TITULAR);
    encher(List2, JOGA_SUPLENTE);
    // The match screen's timer must not start the round again meanwhile.
    Ronda_Jogada = 1;
}

void Ecra_Substituicoes::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

void Ecra_Substituicoes::encher(QListWidget* l, int joga) {
    l->clear();
    std::vector<Jogador_Intervalo> jogadores;
    try {
        jogadores = Jogadores_Intervalo(Clube_Treinador, joga);
    } catch (const db::Erro_BD& e) {
        avisar_erro(e);
    }
    for (const auto& j : jogadores) {
        auto* item = new QListWidgetItem(QString::fromStdString(Texto_Entrada_Intervalo(j)), l);
        item->setData(PAPEL_ROWID, QVariant::fromValue(j.rowid));
        item->setData(PAPEL_POS, QString::fromStdString(j.pos));
    }
}

void Ecra_Substituicoes::Trocar(bool do_botao) {
    QListWidgetItem* titular = seleccionado(List1);
    QListWidgetItem* suplente = seleccionado(List2);
    if (!titular || !suplente) return;
    const bool textos_taca = taca_ && do_botao;
    switch (Verificar_Troca(N_Substituicoes, titular->data(PAPEL_POS).toString().toStdString(),
                            suplente->data(PAPEL_POS).toString().toStdString())) {
    case Troca::Limite:
        ui().aviso(textos_taca ? txt("Só pode fazer 3 Substituições.", "You can't make more than 3 changes.")
                               : txt("Só pode fazer 3 Substituições.", "You can only make 3 changes."),
                   Icone::Critico);
        return;
    case Troca::Guarda_Redes:
        ui().aviso(textos_taca ? txt("Só pode Substituir um Guarda Redes por outro Guarda Redes.",
                                     "You can only change on GK for another GK.")
                               : txt("Só pode Substituir um Guarda Redes por outro Guarda Redes.",
                                     "You can only change one GK for another GK."),
                   Icone::Critico);
        return;
    case Troca::Permitida:
        break;
    }
    // The entries move whole, identity and all; each goes to the end of the other list.
    List1->takeItem(List1->row(titular));
    List2->takeItem(List2->row(suplente));
    List1->addItem(suplente);
    List2->addItem(titular);
    for (QListWidget* l : {List1, List2}) {
        l->clearSelection();
        l->setCurrentRow(-1);
    }
    ++N_Substituicoes;
}

void Ecra_Substituicoes::Command2_Click() {
    try {
        Gravar_Substituicoes(Clube_Treinador, identidades(List1), identidades(List2));
    } catch (const db::Erro_BD&) {
        // Each row is written on its own; with no database there is nothing to write.
    }
    Unload();
}

void Ecra_Substituicoes::Command3_Click() {
    Consulta_Adversario c;
    try {
        c = Verificar_Adversario(Adversario);
    } catch (const db::Erro_BD& e) {
        avisar_erro(e);
        return;
    }
    switch (c) {
    case Consulta_Adversario::Fora_Da_Taca:
        ui().aviso(txt("Já foi eliminado da Taça Golvantario", "You are not in the CUP."), Icone::Critico);
        return;
    case Consulta_Adversario::Fora_Da_Liga:
        ui().aviso(txt("Não existem dados dos clubes da 4ª divisão", "There aren't informnation of the 4th Division Clubs."),
                   Icone::Critico);
        return;
    case Consulta_Adversario::Permitida:
        break;
    }
    // Loaded afresh, so the eleven is picked now.
    descarregar<FrmEquipa_Adv>();
    instancia<FrmEquipa_Adv>().Show_Modal();
}

} // namespace gv
