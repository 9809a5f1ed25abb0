#pragma once
// The manager's desk: squad grid with the line-up, formation, finance
// panel, next match, run counters, league trend, coach performance and the
// main menu. Loaded afresh for every matchday.

#include <QColor>

#include <map>
#include <string>
#include <vector>

#include "platform/qt/ecra.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace gv {

class CaixaImagem;
class Grelha;
struct Linha_Escolha;
enum class Resultado_Negocio;

// Colours of the desk and its squad grid.
namespace Cores_Secretaria {
inline const QColor Verde_Claro{192, 255, 192};
inline const QColor Vermelho_Claro{255, 192, 192};
inline const QColor Amarelo_Claro{255, 255, 192};
inline const QColor Cinzento{224, 224, 224};
inline const QColor Vermelho_Escuro{128, 0, 0};
inline const QColor Azul_Escuro{0, 0, 128};
QColor da_posicao(const std::string& pos);
} // namespace Cores_Secretaria

// Fills the desk's squad grid for a formation: four sections, each player
// once, the row identity kept as the player's rowid.
void Preencher_Plantel(Grelha& s1, const std::string& formacao);

class FrmDados : public Ecra {
    Q_OBJECT
public:
    FrmDados();
    ~FrmDados() override;

    void Traduzir_Ingles();
    void Act_V_E_D_GC_PC();
    void Evolucao_Jor();
    void Actualizar_Equipas_Jogo();
    void Actualizar_Financas();
    // The whole-number ticket price of the coming match (0: no gate).
    int preco_bilhete() const { return preco_bilhete_; }
    QAction* item_menu(const char* nome) const;
    // The line-up check of the next-match button: messages shown, formation
    // box refilled; false when the line-up cannot play.
    bool Verificacao_N_Jogadores();
    // The rows of the squad grid as the check and the line-up write read them.
    std::vector<Linha_Escolha> escolhas() const;
    // After a deal or a camp: finance panel, squad grid and formation box.
    void refrescar_plantel();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool Form_QueryUnload() override;
    void Form_Paint() override;
    bool eventFilter(QObject* alvo, QEvent* evento) override;

private:
    void criar_menu();
    void ligar_mercado();
    void ligar_estatisticas();
    void criar_painel_financas();
    void Combo1_Click();
    void sair_click();
    void Command3_Click();
    void s1_Click(int col, int row);
    void s1_DblClick(int row);
    void negocio(Resultado_Negocio (*accao)(long long), int coluna_marca);
    void renovar();
    void comprar_emprestado();
    int linha_menu_ = 0;   // the grid row the player menu was opened on

    QMenuBar* menu_;
    std::map<std::string, QAction*> itens_;
    QMenu *filem_, *emp_;

public:
    QMenu& menu_jogador() { return *filem_; }
    QMenu& menu_informacao() { return *emp_; }

private:
    Grelha* s1;
    QComboBox* Combo1;
    QPushButton* Command3;
    QLabel *Label1, *Label2, *Label3, *Label18, *Label19, *Label32, *Label34, *Label35, *Label36, *Label41,
        *Label42, *Label39, *Label40, *Label4;
    QLabel *Image1, *Image2, *Image3;
    CaixaImagem* pic1;
    std::map<int, QLabel*> financas_;   // LabelN by N
    QFrame *Frame1, *Frame2, *Frame3, *Line1;
    int preco_bilhete_ = 0;
};

} // namespace gv
