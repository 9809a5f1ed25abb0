#pragma once
// Formations and the default line-up of the manager's club.

#include <array>
#include <string>
#include <vector>

namespace gv {

// A formation as defenders-midfielders-forwards, the goalkeeper implied.
struct Formacao {
    int defesas = 0, medios = 0, avancados = 0;
    int soma() const { return defesas + medios + avancados; }
};
// Reads "4-4-2" (or "10-0-0") by splitting on "-"; missing parts are 0.
Formacao ler_formacao(const std::string& texto);

// Formations the desk offers, in order, with what each needs.
inline constexpr std::array<const char*, 14> Formacoes{"3-3-4", "3-4-3", "4-2-4", "4-3-3", "4-4-2",
                                                       "4-5-1", "5-2-3", "5-3-2", "5-4-1", "5-5-0",
                                                       "6-3-1", "6-4-0", "7-3-0", "8-2-0"};

// The formation combo of the desk, as the formation list sees it.
class Vista_Tacticas {
public:
    virtual ~Vista_Tacticas() = default;
    virtual void limpar() = 0;
    virtual void acrescentar(const std::string& formacao) = 0;
    virtual void definir_texto(const std::string& formacao) = 0;
    virtual void assinalar_incompleta() = 0;   // back colour (255, 192, 192)
};

// Current formation from the stored line-up (starters per line).
std::string Tactica_Actual();
// Formations the available players can field (injured players excluded).
std::vector<std::string> Tacticas_Possiveis();
// Fills the combo and shows the current formation, flagged when it does
// not make ten outfield players.
void Preencher_Tacticas(Vista_Tacticas& combo);
// Default line-up: a 4-3-3 of the strongest available players with the
// next strongest of each line on the bench. Earlier picks are cleared first.
void Escolher_Melhor_Equipa();

} // namespace gv
