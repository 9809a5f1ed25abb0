#include "editor/frmeditor.h"

#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "data/consultas.h"
#include "data/erros.h"
#include "data/estado.h"
#include "editor/editor.h"
#include "platform/qt/controlos.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/navegacao.h"
#include "platform/texto.h"
#include "startup/bandeiras.h"
#include "startup/frmentrada.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

namespace {

constexpr int PAPEL_ROWID = Qt::UserRole + 1;

const char* const Estilo_Lista = "background: rgb(255, 255, 192); color: rgb(0, 0, 128);";

} // namespace

FrmEditor::FrmEditor() : Ecra(QStringLiteral("FrmEditor")) {
    setWindowTitle(QStringLiteral("Editor de Equipas"));
    setFixedSize(620, 470);
    const QString moldura = QStringLiteral(
        "QGroupBox { background: rgb(224, 224, 224); border: 1px solid rgb(120, 120, 120); border-radius: 4px;"
        " margin-top: 8px; color: rgb(0, 0, 128); font-weight: bold; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }");

    Frame6 = com_nome(new QGroupBox(QStringLiteral("País / Country"), this), "Frame6");
    Frame6->setGeometry(12, 10, 596, 60);
    Frame6->setStyleSheet(moldura);
    struct Pais {
        QRadioButton** opcao;
        const char* nome;
        const char* codigo;
        const char* dica;
    };
    const Pais paises[] = {{&Option1, "Option1", "pt", "Portugal"}, {&Option2, "Option2", "br", "Brazil"},
                           {&Option3, "Option3", "en", "England"},  {&Option6, "Option6", "es", "Spain"},
                           {&Option7, "Option7", "it", "Italy"},    {&Option4, "Option4", "wd", "Best Teams of the World"}};
    int x = 14;
    for (const Pais& p : paises) {
        *p.opcao = com_nome(new QRadioButton(Frame6), p.nome);
        (*p.opcao)->setGeometry(x, 26, 22, 22);
        (*p.opcao)->setToolTip(QString::fromUtf8(p.dica));
        auto* bandeira_ = new QLabel(Frame6);
        bandeira_->setPixmap(bandeira(p.codigo));
        bandeira_->setGeometry(x + 24, 24, 36, 24);
        bandeira_->setToolTip(QString::fromUtf8(p.dica));
        connect(*p.opcao, &QRadioButton::toggled, this, [this](bool ligado) {
            if (ligado) escolher_pais();
        });
        x += 96;
    }

    Frame5 = com_nome(new QGroupBox(QStringLiteral("Equipas / Teams"), this), "Frame5");
    Frame5->setGeometry(12, 78, 290, 62);
    Frame5->setStyleSheet(moldura);
    Combo3 = com_nome(new QComboBox(Frame5), "Combo3");
    Combo3->setGeometry(10, 26, 270, 26);
    Combo3->setStyleSheet(QString::fromLatin1(Estilo_Lista));
    Combo3->setMaxVisibleItems(20);
    connect(Combo3, &QComboBox::activated, this, [this](int) { Combo3_Click(); });

    Frame1 = com_nome(new QGroupBox(QStringLiteral("Jogadores / Players"), this), "Frame1");
    Frame1->setGeometry(12, 148, 290, 310);
    Frame1->setStyleSheet(moldura);
    List1 = com_nome(new QListWidget(Frame1), "List1");
    List1->setGeometry(10, 24, 270, 276);
    List1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    List1->setStyleSheet(QString::fromLatin1(Estilo_Lista));
    // The boxes follow the current row however it moves: mouse or keys.
    connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });

    auto rotulo = [this](const char* nome, const char* texto, QRect onde) {
        auto* l = com_nome(new QLabel(QString::fromUtf8(texto), this), nome);
        l->setGeometry(onde);
        l->setStyleSheet(QStringLiteral("background: rgba(255, 255, 255, 215); color: rgb(0, 0, 96); padding: 2px;"));
        return l;
    };
    // Names keep clear of the characters the refused list holds, typed or pasted.
    auto* sem_recusados = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^$%*)(|=><\\\\/'#&;,]*")), this);
    Label2 = rotulo("Label2", "Nome da Equipa / Team Name:", {318, 86, 290, 22});
    Text1 = com_nome(new QLineEdit(this), "Text1");
    Text1->setGeometry(318, 110, 290, 26);
    Text1->setMaxLength(20);
    Text1->setValidator(sem_recusados);
    Label4 = rotulo("Label4", "", {318, 140, 290, 22});

    Label1 = rotulo("Label1", "Nome / Name:", {318, 180, 290, 22});
    Text2 = com_nome(new QLineEdit(this), "Text2");
    Text2->setGeometry(318, 204, 290, 26);
    Text2->setMaxLength(20);
    Text2->setValidator(sem_recusados);
    Label3 = rotulo("Label3", "Idade:", {318, 238, 60, 22});
    Text3 = com_nome(new QLineEdit(this), "Text3");
    Text3->setGeometry(380, 236, 60, 26);
    Text3->setMaxLength(2);
    Text3->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    Label5 = rotulo("Label5", "Pos:", {452, 238, 44, 22});
    Combo1 = com_nome(new QComboBox(this), "Combo1");
    Combo1->setGeometry(500, 236, 108, 26);
    Label6 = rotulo("Label6", "", {318, 272, 290, 22});
    Label7 = rotulo("Label7", "", {318, 298, 140, 22});
    Label8 = rotulo("Label8", "", {468, 298, 140, 22});

    Command1 = com_nome(new QPushButton(QStringLiteral("&Update"), this), "Command1");
    Command1->setGeometry(318, 360, 290, 38);
    Command2 = com_nome(new QPushButton(QStringLiteral("&Exit Editor"), this), "Command2");
    Command2->setGeometry(318, 408, 290, 38);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    for (QComboBox* c : {Combo1, Combo3}) c->installEventFilter(this);
}

void FrmEditor::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) setWindowTitle(QStringLiteral("Teams Editor"));
    Combo1->addItems({QStringLiteral("GK"), QStringLiteral("DF"), QStringLiteral("MD"), QStringLiteral("AV")});
    Combo1->setCurrentIndex(-1);
    if (!ingles()) {
        Command1->setText(QStringLiteral("Actualizar"));
        Command2->setText(QStringLiteral("Sair Editor"));
    }
    try {
        Base_Dados = db::Database::abrir(caminho_base_mestra(), Ligacao_BD);
    } catch (const db::Erro_BD& e) {
        ui().aviso(std::string(txt("Não foi possível abrir a base de dados do programa.",
                                   "The program's database could not be opened.")) + Linha_Causa(e),
                   Icone::Critico);
        Command1->setEnabled(false);
        return;
    }
    {
        const QSignalBlocker sem_sinal(Option1);
        Option1->setChecked(true);
    }
    escolher_pais();
}

void FrmEditor::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

std::string FrmEditor::pais_escolhido() const {
    const std::pair<QRadioButton*, const char*> ordem[] = {{Option1, "pt"}, {Option2, "br"}, {Option3, "en"},
                                                           {Option6, "es"}, {Option7, "it"}, {Option4, "wd"}};
    for (auto [o, cc] : ordem)
        if (o->isChecked()) return cc;
    return "pt";
}

std::string FrmEditor::clube_escolhido() const { return Combo3->currentData().toString().toStdString(); }

void FrmEditor::limpar_jogador() {
    jogador_carregado_ = 0;
    Text2->clear();
    Text3->clear();
    Combo1->setCurrentIndex(-1);
    Label6->clear();
    Label7->clear();
    Label8->clear();
}

void FrmEditor::listar_jogadores() {
    List1->clear();
    if (!Base_Dados) return;
    try {
        for (const auto& j : Ler_Jogadores_Editor(pais_escolhido(), clube_escolhido())) {
            QString pos = QString::fromStdString(j.pos).leftJustified(3, QLatin1Char(' '));
            auto* item = new QListWidgetItem(pos + QString::fromStdString(j.nome), List1);
            item->setData(PAPEL_ROWID, QVariant::fromValue<qlonglong>(j.rowid));
        }
    } catch (const db::Erro_BD&) {
    }
}

void FrmEditor::escolher_pais() {
    Combo3->clear();
    List1->clear();
    limpar_jogador();
    if (!Base_Dados) return;
    try {
        for (const auto& c : Ler_Clubes_Editor(pais_escolhido()))
            Combo3->addItem(QString::fromStdString("(" + std::to_string(c.div) + ") " + c.clube),
                            QString::fromStdString(c.clube));
    } catch (const db::Erro_BD& e) {
        ui().aviso(std::string(txt("Não foi possível ler as equipas.", "The teams could not be read.")) + Linha_Causa(e),
                   Icone::Critico);
    }
    Combo3->setCurrentIndex(Combo3->count() ? 0 : -1);
    mostrar_clube();
    listar_jogadores();
}

// Label4 keeps the stored name whole; the box shows what it can hold.
void FrmEditor::mostrar_clube() {
    Label4->setText(QString::fromStdString(clube_escolhido()));
    Text1->setText(Label4->text());
}

void FrmEditor::Combo3_Click() {
    List1->clear();
    mostrar_clube();
    limpar_jogador();
    listar_jogadores();
}

void FrmEditor::List1_Click() {
    auto* item = List1->currentItem();
    if (!item || !Base_Dados) return;
    limpar_jogador();
    const long long id = item->data(PAPEL_ROWID).toLongLong();
    try {
        auto rs = Base_Dados->OpenRecordset("SELECT nome, idade, pos FROM jogadores_" + pais_escolhido() +
                                                " WHERE rowid = ?",
                                            {id});
        if (rs.Eof()) return;   // changed meanwhile: the boxes stay empty
        const QString pos = QString::fromStdString(rs["pos"].texto()).toUpper();
        Text2->setText(QString::fromStdString(rs["nome"].texto()));
        Text3->setText(QString::fromStdString(rs["idade"].texto()));
        Combo1->setCurrentIndex(Combo1->findText(pos));
        Combo1->setEnabled(pos != QLatin1String("GK"));
        Label6->setText(QString::fromStdString(rs["nome"].texto()));
        Label7->setText(Text3->text());
        Label8->setText(pos);
        jogador_carregado_ = id;
    } catch (const db::Erro_BD&) {
    }
}

void FrmEditor::Command1_Click() {
    if (!Base_Dados) return;
    const std::string cc = pais_escolhido();
    // A box left as it was shown stands for the whole stored value, which
    // may be longer than the box holds.
    auto tal_como = [](const QLineEdit* caixa, const QLabel* guardado) {
        const QString t = caixa->text();
        return (t == guardado->text().left(caixa->maxLength()) ? guardado->text() : t).toStdString();
    };
    try {
        Actualizar_Dados_Equipa(cc, Label4->text().toStdString(), tal_como(Text1, Label4), [this] { escolher_pais(); });
        const Dados_Jogador novo{tal_como(Text2, Label6), Text3->text().toStdString(), Combo1->currentText().toStdString()};
        const Dados_Jogador carregado{Label6->text().toStdString(), Label7->text().toStdString(), Label8->text().toStdString()};
        Actualizar_Dados_Jogador(cc, aparar(Label4->text().toStdString()), jogador_carregado_, novo, carregado,
                                 [this] { Combo3_Click(); });
    } catch (const db::Falha_BD& e) {
        ui().aviso(std::string(txt("Não foi possível gravar a alteração.", "The change could not be saved.")) +
                       Linha_Causa(e),
                   Icone::Critico);
    }
}

void FrmEditor::sair() {
    if (a_sair_) return;
    a_sair_ = true;
    if (Base_Dados) {
        try {
            Compactar_Base_Dados(*Base_Dados);
        } catch (const std::exception& e) {
            // The master database stays as it was: only the compaction is lost.
            ui().aviso(std::string(txt("Não foi possível compactar a base de dados do programa.",
                                       "The program's database could not be compacted.")) +
                           Linha_Causa(e),
                       Icone::Exclamacao);
        }
        Base_Dados->Close();
    }
    Base_Dados.reset();
    Navegacao::passar_para<Frmentrada>();
}

void FrmEditor::Command2_Click() {
    sair();
    Unload();
}

bool FrmEditor::Form_QueryUnload() {
    // Closing the window leaves the editor the same way as its exit button.
    sair();
    return true;
}

bool FrmEditor::eventFilter(QObject* alvo, QEvent* evento) {
    if ((alvo == Combo1 || alvo == Combo3) && evento->type() == QEvent::KeyPress) return true;
    return Ecra::eventFilter(alvo, evento);
}

} // namespace gv
