#pragma once
// The splash: title, version and four small pictures; it unloads itself
// three seconds after it loads.

#include "platform/qt/ecra.h"

class QLabel;
class QTimer;

namespace gv {

class FrmSplash : public Ecra {
    Q_OBJECT
public:
    FrmSplash();

    // The version text: major number, ".", revision number.
    static QString texto_versao();
    // How long the splash stays up: three seconds (tests shorten it).
    static int& duracao_ms();

protected:
    void Form_Load() override;
    void Form_Paint() override;

private:
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Image1;
    QLabel* Image2;
    QLabel* Image3;
    QLabel* Image4;
    QTimer* Timer1;
};

} // namespace gv
