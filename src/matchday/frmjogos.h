#pragma once
// The round screens: every match of a league matchday or of a cup round,
// listed on load and filled in as the round is played, 100 ms later, in
// one transaction. OK leads on once the round is over.

#include <QString>

#include "platform/qt/ecra.h"

class QListWidget;
class QRect;
class QPushButton;
class QTimer;

namespace gv {

class Grelha;
struct Linha_Jogo;

class Ecra_Jogos : public Ecra {
    Q_OBJECT
public:
    Ecra_Jogos(const QString& nome, bool taca);
    void Traduzir_Ingles();
    // True once the round was played and saved; false after a failure.
    bool ronda_gravada() const { return gravada_; }
    // The round's timer (tests drive it).
    QTimer& temporizador() { return *timer_; }
    // Tall enough to show every match of the round without scrolling, as
    // far as a display of that free area allows; beyond it the grid scrolls.
    void caber_em(const QRect& livre);

protected:
    void Form_Load() override;
    void Form_Paint() override;
    bool Form_QueryUnload() override;
    virtual void ler_jogos() = 0;
    virtual void Timer_Tick() = 0;
    virtual void Command1_Click() = 0;
    void jogar(bool taca);
    void mostrar(const Linha_Jogo& l);

    Grelha* v1;
    QTimer* timer_;
    QPushButton* Command1;
    QListWidget* List1;
    bool gravada_ = false;
    bool falhou_ = false;
    bool a_jogar_ = false;
    int largura_com_barra_ = 0;   // the width with room for the grid's scroll bar
};

class FrmJogos_Camp : public Ecra_Jogos {
    Q_OBJECT
public:
    FrmJogos_Camp();
    void Ler_Jogos();

protected:
    void ler_jogos() override { Ler_Jogos(); }
    void Timer_Tick() override;
    void Command1_Click() override;
};

class FrmJogos_Taca : public Ecra_Jogos {
    Q_OBJECT
public:
    FrmJogos_Taca();
    void Ler_Jogos_Taca();
    // The caption for a cup round of n ties (empty: leave it as it is).
    static QString titulo_eliminatoria(int n);

protected:
    void ler_jogos() override { Ler_Jogos_Taca(); }
    void Timer_Tick() override;
    void Command1_Click() override;
};

} // namespace gv
