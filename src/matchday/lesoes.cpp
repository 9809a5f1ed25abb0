#include "matchday/lesoes.h"

#include <algorithm>

#include "data/esquema.h"
#include "matchday/interno.h"
#include "matchday/sorteio.h"
#include "platform/aleatorio.h"
#include "platform/interface_utilizador.h"

namespace gv {

using jornada_interno::base;

void Verificar_Lesao() {
    Randomize();
    if (!Lesao_Sorteada(static_cast<float>(Sorteio()))) return;
    auto& d = base();
    // The starters at the final whistle, after any half-time changes.
    auto rs = d.OpenRecordset("SELECT rowid AS id, nome FROM jogadores WHERE equipa = ? AND lesionado = 0 "
                              "AND joga = 1 AND pos <> 'gk' ORDER BY rowid",
                              {Clube_Treinador});
    const int candidatos = rs.RecordCount();
    if (candidatos == 0) return;
    rs.Move(std::min(Int(Sorteio() * candidatos), candidatos - 1));
    const int jornadas = Int(Sorteio() * 17 + 2);
    const long long id = rs["id"].inteiro();
    const std::string nome = rs["nome"].texto();
    ui().aviso(ingles() ? "The player " + nome + " have injury. He can't play for " + std::to_string(jornadas - 1) +
                              " matchs."
                        : "O Jogador " + nome + " lesionou-se. Fica inactivo " + std::to_string(jornadas - 1) +
                              " jornadas.",
               Icone::Informacao);
    d.Execute("UPDATE jogadores SET lesionado = 1, lesionado_jor = ?, joga = ? WHERE rowid = ?",
              {jornadas, static_cast<int>(JOGA_LESIONADO), id});
}

} // namespace gv
