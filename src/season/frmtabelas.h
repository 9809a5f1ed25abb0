#pragma once
// The league tables: one grid per division on a tab strip. After every
// league round it is the hinge of the matchday flow (its OK leads to the
// end of the season after the last matchday, otherwise to the job review
// and a fresh desk); from the desk's menu it is a plain view that hides
// on OK and is shown again as it was.
//
// Controls: tab strip "s1", grids "v1_1", "v1_2", "v1_3" (divisions 1 to
// 3, row identity the club's row), button "Command1".

#include <array>

#include "platform/qt/ecra.h"

class QPushButton;
class QTabWidget;

namespace gv {

class Grelha;

class FrmTabelas : public Ecra {
    Q_OBJECT
public:
    FrmTabelas();
    void Traduzir_Ingles();
    // The manager's job review of the real-game option.
    void Ver_Situacao();
    Grelha& v1(int div) { return *v1_[static_cast<std::size_t>(div - 1)]; }

protected:
    void Form_Load() override;
    void Form_Paint() override;
    bool Form_QueryUnload() override;

private:
    void Preencher(int div);
    void Command1_Click();
    void v1_Click(int div, int col, int row);

    QTabWidget* s1;
    std::array<Grelha*, 3> v1_;
    QPushButton* Command1;
};

// The desk's menu item: the tables as a view, loaded on the first opening
// and shown again as they were while the view stays loaded.
void Abrir_Tabelas_Consulta();

} // namespace gv
