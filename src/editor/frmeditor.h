#pragma once
// The teams editor: renames clubs and edits players' names, ages and
// positions in the master database's seed tables. Leaving it compacts the
// master database and brings the entry screen back.

#include <string>

#include "platform/qt/ecra.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace gv {

class FrmEditor : public Ecra {
    Q_OBJECT
public:
    FrmEditor();
    std::string pais_escolhido() const;
    // The club name as the combo's item carries it.
    std::string clube_escolhido() const;

protected:
    void Form_Load() override;
    void Form_Paint() override;
    bool Form_QueryUnload() override;
    bool eventFilter(QObject* alvo, QEvent* evento) override;

private:
    void escolher_pais();
    void Combo3_Click();
    void List1_Click();
    void listar_jogadores();
    void limpar_jogador();
    void mostrar_clube();
    void Command1_Click();
    void Command2_Click();
    void sair();

    QGroupBox *Frame1, *Frame5, *Frame6;
    QRadioButton *Option1, *Option2, *Option3, *Option4, *Option6, *Option7;
    QComboBox *Combo1, *Combo3;
    QListWidget* List1;
    QLineEdit *Text1, *Text2, *Text3;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
    QPushButton *Command1, *Command2;
    bool a_sair_ = false;
    // The player whose stored values the boxes and Label6-8 hold (0: none).
    long long jogador_carregado_ = 0;
};

} // namespace gv
