#pragma once
// The opponent's eleven, opened from the half-time screens: the screen
// picks the eleven itself with the engine's computer rule, in the engine's
// formation order, so what it lists is what is on the pitch.

#include <QFont>

#include "platform/qt/ecra.h"

class QListWidget;
class QPushButton;

namespace gv {

// The fixed-pitch font of the matchday lists (Fixedsys where the system
// has it, else its fixed-width font), so padded entries line up.
QFont Fonte_Lista_Fixa();

class FrmEquipa_Adv : public Ecra {
    Q_OBJECT
public:
    FrmEquipa_Adv();

protected:
    void Form_Load() override;
    void Form_Paint() override;

private:
    QListWidget* List1;
    QPushButton* Command1;
};

} // namespace gv
