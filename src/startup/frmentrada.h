#pragma once
// The entry screen: the manager's name, the club set, division and club,
// the starting money, the language and the real-game option; new game,
// load game, the teams editor and exit.

#include <array>
#include <string>
#include <vector>

#include "platform/qt/ecra.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace gv {

class Frmentrada : public Ecra {
    Q_OBJECT
public:
    Frmentrada();

    // The club set chosen by the flags ("pt", "br", ...).
    std::string pais_escolhido() const;

protected:
    void Form_Load() override;
    void Form_Paint() override;
    bool Form_QueryUnload() override;
    bool eventFilter(QObject* alvo, QEvent* evento) override;

private:
    void ler_clubes(const std::string& cc);
    void encher_divisoes();
    void encher_clubes();
    void Command1_Click();
    void Command2_Click();
    void abrir_secretaria();

    QGroupBox *Frame2, *Frame3, *Frame4, *Frame5, *Frame6, *Frame7;
    QLineEdit* Text1;
    std::array<QRadioButton*, 6> opcoes_pais{};   // Option1, 2, 3, 6, 7, 8
    std::array<QLabel*, 6> bandeiras{};           // Image1, 2, 3, 6, 7, 8
    QRadioButton *Option4, *Option5;
    QLabel *Image4, *Image5;
    QComboBox *Combo1, *Combo2, *Combo3;
    QCheckBox* Check1;
    QLabel *Label1, *Label2;
    QPushButton *Command1, *Command2, *Command3, *Command4;
    // The clubs of the chosen set, exactly the rows read, by division.
    std::array<std::vector<std::string>, 3> clubes_;
};

} // namespace gv
