#pragma once
// The entry screen. For now a small screen that tells the player new game
// and load game are on their way, with its exit button.

#include "platform/qt/ecra.h"

class QLabel;
class QPushButton;

namespace gv {

class Frmentrada : public Ecra {
    Q_OBJECT
public:
    Frmentrada();

protected:
    void Form_Load() override;
    void Form_Paint() override;

private:
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Command3;
};

} // namespace gv
