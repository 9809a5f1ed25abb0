#pragma once
// The seed-database editor's work on the master database: renaming a club
// of one club set and changing a player's name, age and position. The
// master database is Base_Dados while the editor is open.

#include <functional>
#include <string>
#include <vector>

namespace gv {

// Characters refused in names: they would break the old game files' queries.
inline constexpr const char* Caracteres_Recusados = "$%*)(|=><\\/'#&;,";
bool nome_aceitavel(const std::string& nome);

struct Clube_Editor {
    std::string clube;
    int div = 0;
};
struct Jogador_Editor {
    long long rowid = 0;
    std::string pos, nome;
    int idade = 0;
};

// A club set's clubs in name order, all three divisions together.
std::vector<Clube_Editor> Ler_Clubes_Editor(const std::string& cc);
// A club's players: gk, df, md, av, each strongest first.
std::vector<Jogador_Editor> Ler_Jogadores_Editor(const std::string& cc, const std::string& clube);

enum class Resultado_Edicao { Nada, Recusado, Feito };

// Renames the club in the set's league, cup and player tables, all or
// nothing; refuses an empty name and one another club already has.
// `depois` refreshes the screen before the closing message.
Resultado_Edicao Actualizar_Dados_Equipa(const std::string& cc, const std::string& antigo, const std::string& novo,
                                         const std::function<void()>& depois = {});

struct Dados_Jogador {
    std::string nome, idade, pos;   // as typed: pos in capitals ("GK", "DF", "MD", "AV")
};
// Writes the player's new name, age and position; `carregado` is what was
// loaded, so nothing is written when nothing changed.
Resultado_Edicao Actualizar_Dados_Jogador(const std::string& cc, const std::string& clube, long long rowid,
                                          const Dados_Jogador& novo, const Dados_Jogador& carregado,
                                          const std::function<void()>& depois = {});

} // namespace gv
