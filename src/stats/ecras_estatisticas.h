#pragma once
// The statistics, calendar and history screens, opened modally from the
// desk's menu. Each only reads the game database and is built in its load.

#include <string>

#include "stats/ecra_consulta.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace gv {

class Grelha;

// One club's 34 league matches, opening on the manager's club.
class FrmCalendario : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmCalendario();
    // The club whose calendar is shown.
    const std::string& clube() const { return clube_; }

protected:
    void Form_Load() override;

private:
    void preencher(const std::string& clube);
    std::string clube_;
    QLabel* Label1;
    QComboBox* Combo1;
    QPushButton *Command1, *Command2;
    Grelha* v1;
};

// The ties of the cup round still to be played.
class FrmCalendario_Taca : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmCalendario_Taca();

protected:
    void Form_Load() override;

private:
    Grelha* v1;
};

// The manager's gates of the season and the two receipt totals.
class FrmAssistencias : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmAssistencias();
    void Traduzir_Ingles();

protected:
    void Form_Load() override;

private:
    QLabel *Label1, *Label2, *Label3, *Label4;
    Grelha* v1;
};

// Clubs ranked by their players' average strength in one position.
class FrmMedia_Jog : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmMedia_Jog();

protected:
    void Form_Load() override;

private:
    void preencher(const std::string& pos);
    QLabel* Label2;
    QComboBox* Combo2;
    QListWidget* List1;
};

// The season's top scorers, one tab per division.
class FrmGolos : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmGolos();

protected:
    void Form_Load() override;

private:
    QTabWidget* s1;
    QListWidget* List1[3];
};

// All-time scorers: still playing, stopped, everyone.
class FrmGolos_Sempre : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmGolos_Sempre();

protected:
    void Form_Load() override;

private:
    void preencher();
    QLabel* Label1;
    QComboBox* Combo1;
    QTabWidget* s1;
    QListWidget* List1[3];
};

// The manager's club's deals: players in, players out, money.
class FrmTranfere : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmTranfere();
    void Traduzir_Ingles();

protected:
    void Form_Load() override;

private:
    QTabWidget* SSTab1;
    Grelha* v2[2];
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
};

// The season's transfers between all clubs, by club and order.
class FrmTransferencias_totais : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmTransferencias_totais();

protected:
    void Form_Load() override;

private:
    void preencher();
    QLabel *Label1, *Label2, *Label3;
    QComboBox* Combo1;
    QRadioButton *Option1, *Option2;
    Grelha* v2;
};

// The manager's career, season by season, with its total line.
class FrmHist_Treinador : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmHist_Treinador();
    void Traduzir_Ingles();

protected:
    void Form_Load() override;

private:
    Grelha* v1;
};

// Champions, cup winners, top scorers and title counts.
class FrmVencedores : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmVencedores();
    void Traduzir_Ingles();

protected:
    void Form_Load() override;

private:
    QTabWidget *SSTab1, *SSTab2, *SSTab3;
    QListWidget *List1, *List2, *List3, *List4, *List5, *List6, *List7, *List10, *List11;
    QWidget *Frame1, *Frame2, *Frame3, *Frame4, *Frame5, *Frame6, *Frame7;
};

// Every club's all-time record, best first.
class FrmHist_Clubes : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmHist_Clubes();
    void Traduzir_Ingles();

protected:
    void Form_Load() override;

private:
    Grelha* v1;
};

// One club's seasons, opening on the manager's club.
class FrmHist_Clubes_Epoca : public Ecra_Consulta {
    Q_OBJECT
public:
    FrmHist_Clubes_Epoca();
    void Traduzir_Ingles();

protected:
    void Form_Load() override;

private:
    void preencher(const std::string& clube);
    QLabel* Label1;
    QComboBox* Combo1;
    Grelha* v1;
};

} // namespace gv
