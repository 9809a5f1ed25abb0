#include "matchday/memoria_ronda.h"

#include <algorithm>

#include "data/esquema.h"
#include "matchday/interno.h"

namespace gv::jornada_interno {

namespace {

Memoria_Ronda* activa = nullptr;

} // namespace

// A line's index from its code, as the database compares it (case aside).
int linha_de(std::string_view pos) {
    if (pos.size() == 2 && static_cast<unsigned char>(pos[0]) < 0x80 && static_cast<unsigned char>(pos[1]) < 0x80) {
        auto minuscula = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        const char a = minuscula(pos[0]), b = minuscula(pos[1]);
        for (std::size_t i = 0; i < Codigos_Posicao.size(); ++i)
            if (Codigos_Posicao[i][0] == a && Codigos_Posicao[i][1] == b && Codigos_Posicao[i][2] == '\0')
                return static_cast<int>(i);
        return -1;
    }
    const std::string k = db::chave_nome(std::string(pos));
    for (std::size_t i = 0; i < Codigos_Posicao.size(); ++i)
        if (k == Codigos_Posicao[i]) return static_cast<int>(i);
    return -1;
}

Memoria_Ronda* memoria_ronda() { return activa; }

const std::string& Memoria_Ronda::chave(const std::string& nome) {
    auto it = chaves_.find(nome);
    if (it == chaves_.end()) it = chaves_.emplace(nome, db::chave_nome(nome)).first;
    return it->second;
}

Memoria_Ronda::Memoria_Ronda() { activa = this; }

Memoria_Ronda::~Memoria_Ronda() {
    if (activa == this) activa = nullptr;
}

void Memoria_Ronda::ler_planteis() {
    planteis_lidos_ = true;
    struct Lido {
        int clube, linha;
        bool com_forca;
        long long forca, id;
    };
    struct Somas {
        std::array<long long, 4> forca{}, com_forca{}, n{};
    };
    // Every player in one list, sorted once; the clubs by slot. Names the
    // database takes for one club (case or accents aside) share a slot; a
    // club's rows mostly come together, so the last name read is kept.
    std::vector<Lido> lidos;
    lidos.reserve(1536);
    std::vector<const std::string*> chaves;
    std::vector<Somas> somas;
    std::unordered_map<std::string_view, int> por_chave;
    std::string ultimo_nome;
    int actual = -1;
    base().percorrer("SELECT rowid, equipa, pos, forca FROM jogadores", {}, [&](const db::Linha_Lida& r) {
        const int linha = linha_de(r.vista(2));
        if (linha < 0) return;
        const auto l = static_cast<std::size_t>(linha);
        const std::string_view equipa = r.vista(1);
        if (actual < 0 || equipa != ultimo_nome) {
            ultimo_nome.assign(equipa);
            const std::string& k = chave(ultimo_nome);
            auto [it, novo] = por_chave.try_emplace(k, static_cast<int>(chaves.size()));
            if (novo) {
                chaves.push_back(&k);
                somas.emplace_back();
            }
            actual = it->second;
        }
        // avg() leaves out a player without a strength; count(*) does not.
        Somas& soma = somas[static_cast<std::size_t>(actual)];
        ++soma.n[l];
        const bool com_forca = !r.nulo(3);
        const long long forca = com_forca ? r.inteiro(3) : 0;
        if (com_forca) {
            soma.forca[l] += forca;
            ++soma.com_forca[l];
        }
        lidos.push_back({actual, linha, com_forca, forca, r.inteiro(0)});
    });
    // By club and line, strongest first, then the older row: the order each
    // squad query gave (a player without a strength last, as the database
    // sorts him).
    std::sort(lidos.begin(), lidos.end(), [](const Lido& a, const Lido& b) {
        if (a.clube != b.clube) return a.clube < b.clube;
        if (a.linha != b.linha) return a.linha < b.linha;
        if (a.com_forca != b.com_forca) return a.com_forca;
        if (a.forca != b.forca) return a.forca > b.forca;
        return a.id < b.id;
    });
    for (std::size_t i = 0; i < lidos.size();) {
        std::size_t fim = i;
        while (fim < lidos.size() && lidos[fim].clube == lidos[i].clube && lidos[fim].linha == lidos[i].linha) ++fim;
        auto& ids = planteis_[*chaves[static_cast<std::size_t>(lidos[i].clube)]][static_cast<std::size_t>(lidos[i].linha)];
        ids.reserve(fim - i);
        for (; i < fim; ++i) ids.push_back(lidos[i].id);
    }
    // Each line's average strength as the database's avg() gives it.
    for (std::size_t c = 0; c < chaves.size(); ++c) {
        const Somas& soma = somas[c];
        Linhas& m = linhas_[*chaves[c]];
        for (std::size_t l = 0; l < 4; ++l) {
            m.media[l] = soma.com_forca[l] ? static_cast<double>(soma.forca[l]) / static_cast<double>(soma.com_forca[l]) : 0.0;
            m.n[l] = static_cast<double>(soma.n[l]);
        }
    }
}

const std::vector<long long>& Memoria_Ronda::plantel(const std::string& clube, int linha) {
    static const std::vector<long long> nenhum;
    if (!planteis_lidos_) ler_planteis();
    auto it = planteis_.find(chave(clube));
    if (it == planteis_.end() || linha < 0 || linha > 3) return nenhum;
    return it->second[static_cast<std::size_t>(linha)];
}

Candidato Memoria_Ronda::candidato(long long id) {
    auto it = detalhes_.find(id);
    if (it == detalhes_.end()) {
        Candidato c;
        base().percorrer("SELECT rowid, nome, equipa, pos, idade, golos, emprestado, clube_origem FROM jogadores "
                         "WHERE rowid = ?",
                         {id}, [&](const db::Linha_Lida& r) {
                             c = Candidato{r.inteiro(0), r.texto(1), r.texto(2), r.texto(3),
                                           r.texto(7),   r.int32(4), r.int32(5), r.int32(6)};
                         });
        it = detalhes_.emplace(id, std::move(c)).first;
    }
    Candidato c = it->second;
    c.golos += golos_por_gravar(id);
    return c;
}

int Memoria_Ronda::golos_por_gravar(long long id) const {
    auto it = golos_.find(id);
    return it == golos_.end() ? 0 : it->second;
}

const Linhas& Memoria_Ronda::linhas(const std::string& clube) {
    static const Linhas nenhuma;
    if (!planteis_lidos_) ler_planteis();
    auto it = linhas_.find(chave(clube));
    return it == linhas_.end() ? nenhuma : it->second;
}

void Memoria_Ronda::ler_tabela() {
    tabela_lida_ = true;
    base().percorrer("SELECT clube, div, pontos, g_mar - g_suf, cap_estadio FROM clubes ORDER BY rowid", {},
                     [&](const db::Linha_Lida& r) {
                         std::string clube = r.texto(0);
                         std::string dobrado = chave(clube);
                         tabela_.push_back({std::move(clube), std::move(dobrado), r.int32(1), r.int32(2), r.int32(3),
                                            r.int32(4)});
                     });
}

Memoria_Ronda::Clube_Tabela* Memoria_Ronda::primeira(const std::string& clube) {
    if (!tabela_lida_) ler_tabela();
    auto it = primeiras_.find(clube);
    if (it == primeiras_.end()) {
        const std::string& dobrado = chave(clube);
        auto c = std::find_if(tabela_.begin(), tabela_.end(), [&](const Clube_Tabela& t) { return t.chave == dobrado; });
        it = primeiras_.emplace(clube, c == tabela_.end() ? -1 : static_cast<int>(c - tabela_.begin())).first;
    }
    return it->second < 0 ? nullptr : &tabela_[static_cast<std::size_t>(it->second)];
}

std::optional<Memoria_Ronda::Dados_Clube> Memoria_Ronda::clube(const std::string& nome) {
    const Clube_Tabela* c = primeira(nome);
    if (!c) return std::nullopt;
    return Dados_Clube{c->div, c->capacidade};
}

int Memoria_Ronda::posicao(const std::string& clube) {
    // The division of the first row of that name, the place of the row
    // spelled exactly so: as the standings query and its walk found them.
    const Clube_Tabela* primeira_linha = primeira(clube);
    if (!primeira_linha) return 0;
    const int div = primeira_linha->div;
    auto antes = [](const Clube_Tabela& a, const Clube_Tabela& b) {
        if (a.pontos != b.pontos) return a.pontos > b.pontos;
        if (a.diferenca != b.diferenca) return a.diferenca > b.diferenca;
        return db::comparar_nomes(a.clube, b.clube) < 0;
    };
    // A row's place is one plus the rows ahead of it in its division: those
    // that sort before it, and those that tie with it and come before it in
    // the table (the standings' sort keeps the table's order on a tie).
    int melhor = 0;
    for (std::size_t i = 0; i < tabela_.size(); ++i) {
        const Clube_Tabela& x = tabela_[i];
        if (x.div != div || x.clube != clube) continue;
        int lugar = 1;
        for (std::size_t j = 0; j < tabela_.size(); ++j) {
            const Clube_Tabela& y = tabela_[j];
            if (j != i && y.div == div && (antes(y, x) || (j < i && !antes(x, y)))) ++lugar;
        }
        if (melhor == 0 || lugar < melhor) melhor = lugar;
    }
    return melhor;
}

void Memoria_Ronda::resultado(const std::string& clube, int marcados, int sofridos) {
    if (!tabela_lida_) return;   // read afresh when first asked
    if (Clube_Tabela* c = primeira(clube)) {
        c->pontos += marcados > sofridos ? 3 : marcados == sofridos ? 1 : 0;
        c->diferenca += marcados - sofridos;
    }
}

void Memoria_Ronda::golo(const Candidato& c, const std::string& clube_registo) {
    if (golos_[c.id]++ == 0) ordem_golos_.push_back(c.id);
    registos_.push_back({c.golos == 0, c.nome, clube_registo, c.pos, c.idade});
}

void Memoria_Ronda::gravar() {
    auto& d = base();
    static const std::string golos_sql = "UPDATE jogadores SET golos = golos + ?, sit = sit + ? WHERE rowid = ?";
    for (long long id : ordem_golos_) {
        const int n = golos_[id];
        d.Execute(golos_sql, {n, n, id});
    }
    // Each later goal of a name adds one to every row of that name then in
    // the table; a first goal makes a row of one goal. Added up: the rows
    // already there take all the name's later goals, a new row one goal and
    // those that came after it. Names are grouped as the database compares
    // them (case and accents aside).
    struct Grupo {
        int mais = 0, vistas = 0;
        bool feita = false;
    };
    std::unordered_map<std::string, Grupo> grupos;
    std::vector<Grupo*> de;
    de.reserve(registos_.size());
    for (const auto& r : registos_) {
        std::string k = chave(r.nome);
        k += '\0';
        k += chave(r.equipa);
        k += '\0';
        k += chave(r.pos);
        k += '\0';
        k += std::to_string(r.idade);
        Grupo& g = grupos[std::move(k)];
        if (!r.novo) ++g.mais;
        de.push_back(&g);
    }
    static const std::string mais_sql = "UPDATE Melhores_Marcadores_Sempre SET golos = golos + ? "
                                        "WHERE nome = ? AND equipa = ? AND pos = ? AND idade = ?";
    static const std::string novo_sql = "INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, sit, golos) "
                                        "VALUES (?, ?, ?, ?, 1, ?)";
    for (std::size_t i = 0; i < registos_.size(); ++i) {
        const auto& r = registos_[i];
        Grupo& g = *de[i];
        if (r.novo || g.feita) continue;
        g.feita = true;
        d.Execute(mais_sql, {g.mais, r.nome, r.equipa, r.pos, r.idade});
    }
    for (std::size_t i = 0; i < registos_.size(); ++i) {
        const auto& r = registos_[i];
        Grupo& g = *de[i];
        if (!r.novo) {
            ++g.vistas;
            continue;
        }
        d.Execute(novo_sql, {r.nome, r.equipa, r.pos, r.idade, 1 + g.mais - g.vistas});
    }
    golos_.clear();
    ordem_golos_.clear();
    registos_.clear();
}

} // namespace gv::jornada_interno
