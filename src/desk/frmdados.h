#pragma once
// The manager's desk. For now it names the manager and his club; the full
// desk (squad, finances, next match, menu) is built on top of this screen.

#include "platform/qt/ecra.h"

class QLabel;
class QPushButton;

namespace gv {

class FrmDados : public Ecra {
    Q_OBJECT
public:
    FrmDados();

protected:
    void Form_Load() override;
    void Form_Paint() override;

private:
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Command1;
};

} // namespace gv
