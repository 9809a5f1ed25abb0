#pragma once
// What the read-only statistics screens share: the background, the OK
// button, the colours, combo boxes and lists that ignore typing, the
// fixed-pitch list font and the way to a club's squad.

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <string>

#include "platform/qt/ecra.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace gv {

class Grelha;

// Windows colour words of these screens, as Qt colours.
namespace Cores_Consulta {
inline const QColor Amarelo{255, 255, 192};        // every data row
inline const QColor Laranja{255, 224, 192};        // the manager's line, a total line
inline const QColor Azul{0, 0, 192};               // list and calendar text
inline const QColor Azul_Escuro{0, 0, 128};
inline const QColor Vermelho_Escuro{128, 0, 0};
inline const QColor Verde_Escuro{0, 128, 0};
inline const QColor Verde_Claro{192, 255, 192};    // the winner's club
inline const QColor Vermelho_Claro{255, 192, 192}; // the loser's club
inline const QColor Verde{0, 192, 0};              // the winner's goals
inline const QColor Vermelho{255, 0, 0};           // the loser's goals
inline const QColor Cinzento{224, 224, 224};
inline const QColor Azul_Claro{192, 192, 255};
} // namespace Cores_Consulta

// Opens the squad of a league club. The squads screen belongs to the
// market; until it is installed here, the buttons and double clicks that
// lead to it are inert (disabled).
std::function<void(const std::string&)>& Abrir_Plantel_Clube();
// Sets Clube_Consulta and opens the squad, when installed.
void Mostrar_Plantel(const std::string& clube);

// The fixed-pitch font of the padded lists.
QFont Fonte_Fixa();

// Runs f on a left click on w (labels that act as links).
void Ligar_Clique(QWidget& w, std::function<void()> f);
// Keys pressed in w are discarded.
void Ignorar_Teclas(QWidget& w);

// A read-only screen: tiled background, built once in its load.
class Ecra_Consulta : public Ecra {
    Q_OBJECT
public:
    explicit Ecra_Consulta(const QString& nome) : Ecra(nome) {}

protected:
    void Form_Paint() override;

    QPushButton* botao(const char* nome, const QString& texto, const QRect& r);
    QLabel* rotulo(const char* nome, const QString& texto, const QRect& r);
    Grelha* grelha(const QString& nome, const QRect& r, int colunas, QWidget* pai = nullptr);
    // A combo box that takes no typing; items carry their club as data.
    QComboBox* combo(const char* nome, const QRect& r);
    // The "Equipas:" filter at the top of a screen: Label1 and Combo1; a
    // choice refills the screen, which keeps what it showed on a failure.
    QComboBox* filtro_equipas(QLabel*& legenda, const std::function<void()>& preencher);
    QListWidget* lista_fixa(const QString& nome, const QColor& fundo, const QColor& texto, QWidget* pai = nullptr);
    // The OK button, which unloads the screen.
    QPushButton* botao_ok(const QRect& r, const QString& texto = QStringLiteral("&OK"));
};

// Fills a combo with every league club, "(div) name", the name as data.
void Preencher_Combo_Clubes(QComboBox& c);
// The club an item of such a combo stands for (empty for other items).
std::string Clube_Do_Item(const QComboBox& c, int indice);

} // namespace gv
