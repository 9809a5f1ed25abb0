#pragma once
// The half-time substitution screens, league (FrmSubstituicoes) and cup
// (FrmSubstituicoes_Taca): the manager's starters and bench side by side,
// up to three swaps, the referee trio, and the opponent's eleven. OK
// writes the new line-up to jogadores; closing any other way writes
// nothing. The two screens share everything but the cup's English texts
// of the swap button.

#include <string>

#include "platform/qt/ecra.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace gv {

// Item data of every list entry: the player's rowid and his position.
constexpr int PAPEL_ROWID = Qt::UserRole;
constexpr int PAPEL_POS = Qt::UserRole + 1;

class Ecra_Substituicoes : public Ecra {
    Q_OBJECT
public:
    // English captions of the screen and its frames.
    void Traduzir_Ingles();
    // What the match writes before showing the screen: the competition
    // appended to the caption (" - Campeonato" or " - Taça") and the
    // half-time score line in Label1.
    void Marcar_Intervalo(const std::string& casa, const std::string& fora, int golos_casa, int golos_fora);
    bool taca() const { return taca_; }

protected:
    Ecra_Substituicoes(const QString& nome, bool taca);
    void Form_Load() override;
    void Form_Paint() override;

private:
    void encher(QListWidget* lista, int joga);
    // One swap of the two selected entries. The cup screen's button speaks
    // its own English; the double clicks speak the league's.
    void Trocar(bool do_botao);
    void Command2_Click();
    void Command3_Click();

    const bool taca_;
    QGroupBox *Frame1, *Frame2;
    QListWidget *List1, *List2;
    QPushButton *Command1, *Command2, *Command3;
    QLabel *Label1, *Label2, *Label3;
};

class FrmSubstituicoes : public Ecra_Substituicoes {
    Q_OBJECT
public:
    FrmSubstituicoes();
};

class FrmSubstituicoes_Taca : public Ecra_Substituicoes {
    Q_OBJECT
public:
    FrmSubstituicoes_Taca();
};

} // namespace gv
