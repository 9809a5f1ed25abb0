#pragma once
// What one round reads once and writes once. A round of 27 matches asks
// the same questions over and over (each club's squad for every goal, the
// division's standings for every gate, each club's line averages for every
// match) and books every goal on its own. While a round plays, its memory
// answers those questions from one read each, keeps the standings in step
// with every result, and adds the goals up to write them at the round's
// end. Shared by the matchday sources only.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace gv::jornada_interno {

// A player who can score, as the squad lists him.
struct Candidato {
    long long id = 0;
    std::string nome, equipa, pos, clube_origem;
    int idade = 0, golos = 0, emprestado = 0;
};

// One side's four lines (gk, df, md, av): average strength and players.
struct Linhas {
    std::array<double, 4> media{};
    std::array<double, 4> n{};
};

class Memoria_Ronda {
public:
    // Becomes the round's memory until it goes; nothing is read yet.
    Memoria_Ronda();
    ~Memoria_Ronda();
    Memoria_Ronda(const Memoria_Ronda&) = delete;
    Memoria_Ronda& operator=(const Memoria_Ronda&) = delete;

    // The club's players of one line (0 gk ... 3 av), strongest first, by
    // row identity; and one of them in full, his goals of the round still
    // to be written counted in.
    const std::vector<long long>& plantel(const std::string& clube, int linha);
    Candidato candidato(long long id);
    // The goals of this round not yet written, by player.
    int golos_por_gravar(long long id) const;

    // The averages of all the club's players, line by line.
    const Linhas& linhas(const std::string& clube);

    // The club's place in its division (0 outside the league), and a result
    // booked into the standings kept here.
    int posicao(const std::string& clube);
    void resultado(const std::string& clube, int marcados, int sofridos);

    // The division and stadium of the club's first row, found as the
    // database finds a name (case and accents aside); none for a cup
    // entrant from outside the divisions. A round changes neither.
    struct Dados_Clube {
        int div = 0, capacidade = 0;
    };
    std::optional<Dados_Clube> clube(const std::string& nome);

    // A goal by this player (his goals before it in c.golos), for this
    // club's record of all-time scorers.
    void golo(const Candidato& c, const std::string& clube_registo);
    // Writes the goals added up, as booking each at once would have left
    // the tables.
    void gravar();

private:
    struct Clube_Tabela {
        std::string clube, chave;   // the name and its folding
        int div = 0, pontos = 0, diferenca = 0, capacidade = 0;
    };
    // One write to the all-time scorers, in the order the goals came.
    struct Registo {
        bool novo;   // a first goal: the row is made
        std::string nome, equipa, pos;
        int idade;
    };
    void ler_planteis();
    void ler_tabela();
    // A name folded as the database compares it; each name is folded once.
    const std::string& chave(const std::string& nome);
    // The first row of the name, or null; each name asked is looked up once.
    Clube_Tabela* primeira(const std::string& clube);

    bool planteis_lidos_ = false, tabela_lida_ = false;
    std::unordered_map<std::string, std::array<std::vector<long long>, 4>> planteis_;   // by folded club name
    std::unordered_map<std::string, Linhas> linhas_;
    std::unordered_map<long long, Candidato> detalhes_;
    std::vector<Clube_Tabela> tabela_;
    std::unordered_map<std::string, std::string> chaves_;
    std::unordered_map<std::string, int> primeiras_;   // by name as asked: row in tabela_, -1 for none
    std::unordered_map<long long, int> golos_;
    std::vector<long long> ordem_golos_;
    std::vector<Registo> registos_;
};

// A line's index (0 gk ... 3 av) from a position code, as the database
// compares it (case and accents aside); -1 for no line.
int linha_de(std::string_view pos);

// The memory of the round being played, or null outside a round.
Memoria_Ronda* memoria_ronda();

} // namespace gv::jornada_interno
