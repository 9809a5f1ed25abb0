#pragma once
// Player moves between clubs and the logs that record deals and titles.

#include <functional>
#include <string>
#include <vector>

namespace gv {

// What a move wrote, kept to be put back exactly, last write first, when
// what follows it fails inside a larger transaction. Cheaper than a
// savepoint, which copies and enciphers every page the move touches.
class Desfazer_Mudanca {
public:
    void registar(std::function<void()> passo) { passos_.push_back(std::move(passo)); }
    // Throws what the engine throws; the enclosing transaction must then go.
    void desfazer();

private:
    std::vector<std::function<void()>> passos_;
};

// Moves the player with that identity to `para` at the price `valor`
// (kept as his value) and logs the route league-wide; his all-time
// scorer row follows him. With rowid 0 the player is created at `para`
// (from the transfer list), contract 4 seasons under 30, else 1. Each
// write is kept in `desfazer` when one is given.
void Mudar_Clube_Jogador(long valor, const std::string& pos, const std::string& nome, int idade, int forca,
                         const std::string& de, const std::string& para, long long rowid,
                         Desfazer_Mudanca* desfazer = nullptr);
// The manager's club's log ("C", "V", "E+", "E-").
void Registar_Transferencia(int idade, const std::string& pos, const std::string& nome, int forca,
                            const std::string& tipo, long valor);
// The league-wide log of the season.
void Registar_Transferencia_Clubes(int idade, const std::string& pos, const std::string& nome, int forca,
                                   const std::string& tipo, long valor);
// The winners' history.
void Inserir_Ultimos_Venc(const std::string& equipa, const std::string& tipo, const std::string& nome, long num);

} // namespace gv
