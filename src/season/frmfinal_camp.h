#pragma once
// The end-of-season screen: the season's summary (top three and bottom
// three of each division, the champion, the cup winner, each division's
// best scorers) and, when the manager's contract runs out, his job offers.
// Its OK changes the season (all or nothing) and hands over to the desk of
// the new season's first matchday.
//
// Controls: "Frame1".."Frame6"; tab strips "s1" (grids "v1_0".."v1_2":
// place, club, points of divisions 1 to 3) and "SSTab1" (grids
// "v2_0".."v2_2": rank, name, club, goals); "Label1" the champion,
// "Label2" the cup winner, "Label3" the status line, "List1" the offers,
// "Command1" OK.

#include <array>
#include <vector>

#include "platform/qt/ecra.h"
#include "season/convites.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace gv {

class Grelha;
struct Resumo_Epoca;

class FrmFinal_Camp : public Ecra {
    Q_OBJECT
public:
    FrmFinal_Camp();
    ~FrmFinal_Camp() override;
    void Traduzir_Ingles();
    // The offers listed, in the order of List1's lines.
    const std::vector<Convite>& convites() const { return convites_; }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool Form_QueryUnload() override;
    void Form_Paint() override;

private:
    void mostrar(const Resumo_Epoca& r);
    void Command1_Click();

    QGroupBox *Frame1, *Frame2, *Frame3, *Frame4, *Frame5, *Frame6;
    QTabWidget *s1, *SSTab1;
    std::array<Grelha*, 3> v1_, v2_;
    QLabel *Label1, *Label2, *Label3;
    QListWidget* List1;
    QPushButton* Command1;
    std::vector<Convite> convites_;
};

} // namespace gv
