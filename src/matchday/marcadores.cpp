#include "matchday/marcadores.h"

#include <algorithm>
#include <vector>

#include "data/esquema.h"
#include "matchday/interno.h"
#include "matchday/memoria_ronda.h"
#include "matchday/sorteio.h"
#include "platform/aleatorio.h"

namespace gv {

using jornada_interno::base;
using jornada_interno::clube_da_liga;
using jornada_interno::e_do_treinador;

namespace {

using jornada_interno::Candidato;
using jornada_interno::linha_de;
using jornada_interno::memoria_ronda;

// A line's candidates: read with their details, or, within a round, a
// computer club's by identity from the round's memory, each read in full
// only when he scores.
class Lista_Candidatos {
public:
    std::size_t size() const { return ids_ ? ids_->size() : lidos_.size(); }
    bool empty() const { return size() == 0; }
    Candidato em(std::size_t i) const { return ids_ ? memoria_ronda()->candidato((*ids_)[i]) : lidos_[i]; }
    std::vector<Candidato> lidos_;
    const std::vector<long long>* ids_ = nullptr;
};

Lista_Candidatos candidatos(const std::string& clube, const char* pos, bool so_titulares) {
    Lista_Candidatos r;
    auto* m = memoria_ronda();
    if (m && !so_titulares) {
        r.ids_ = &m->plantel(clube, linha_de(pos));
        return r;
    }
    auto rs = base().OpenRecordset(
        so_titulares ? "SELECT rowid AS id, nome, equipa, pos, idade, golos, emprestado, clube_origem FROM jogadores "
                       "WHERE equipa = ? AND pos = ? AND joga = 1 ORDER BY forca DESC, rowid"
                     : "SELECT rowid AS id, nome, equipa, pos, idade, golos, emprestado, clube_origem FROM jogadores "
                       "WHERE equipa = ? AND pos = ? ORDER BY forca DESC, rowid",
        {clube, pos});
    for (; !rs.Eof(); rs.MoveNext()) {
        const long long id = rs["id"].inteiro();
        // Goals of this round still to be written count as scored.
        r.lidos_.push_back({id, rs["nome"].texto(), rs["equipa"].texto(), rs["pos"].texto(), rs["clube_origem"].texto(),
                            rs["idade"].int32(), rs["golos"].int32() + (m ? m->golos_por_gravar(id) : 0),
                            rs["emprestado"].int32()});
    }
    return r;
}

bool ha_candidatos(const std::string& clube, bool so_titulares) {
    if (auto* m = memoria_ronda(); m && !so_titulares)
        return !m->plantel(clube, 1).empty() || !m->plantel(clube, 2).empty() || !m->plantel(clube, 3).empty();
    return base()
               .valor(so_titulares ? "SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1 "
                                     "AND pos IN ('df', 'md', 'av')"
                                   : "SELECT count(*) FROM jogadores WHERE equipa = ? AND pos IN ('df', 'md', 'av')",
                      {clube})
               .inteiro() > 0;
}

void creditar(const Candidato& c) {
    // A player the manager borrowed scores for his owning club's record.
    const std::string& clube = c.equipa == Clube_Treinador && c.emprestado == 1 ? c.clube_origem : c.equipa;
    if (auto* m = memoria_ronda()) {
        m->golo(c, clube);
        return;
    }
    auto& d = base();
    d.Execute("UPDATE jogadores SET golos = golos + 1, sit = sit + 1 WHERE rowid = ?", {c.id});
    if (c.golos == 0)
        d.Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, sit, golos) "
                  "VALUES (?, ?, ?, ?, 1, 1)",
                  {c.nome, clube, c.pos, c.idade});
    else
        d.Execute("UPDATE Melhores_Marcadores_Sempre SET golos = golos + 1 "
                  "WHERE nome = ? AND equipa = ? AND pos = ? AND idade = ?",
                  {c.nome, clube, c.pos, c.idade});
}

std::string marcadores(int golos, const std::string& clube, int modo) {
    Randomize();
    if (golos <= 0) {
        Texto_Marcadores.clear();
        return {};
    }
    if (modo != 1) return {};
    const bool so_titulares = e_do_treinador(clube);
    std::vector<std::string> entradas;   // kept sorted, as the screen's sorted list
    for (int g = 0; g < golos; ++g) {
        auto lista = candidatos(clube, Posicao_Marcador(Sorteio()), so_titulares);
        if (lista.empty()) {
            // Draw the line again only when some line has someone to score.
            if (!ha_candidatos(clube, so_titulares)) break;
            while (lista.empty()) lista = candidatos(clube, Posicao_Marcador(Sorteio()), so_titulares);
        }
        const int n = static_cast<int>(lista.size());
        // A second draw picks among three or more; with one or two the
        // second draw goes unused and a third one picks.
        double r = Sorteio();
        if (n < 3) r = Sorteio();
        const Candidato marcador = lista.em(static_cast<std::size_t>(std::min(Candidato_Marcador(n, r), n - 1)));
        creditar(marcador);
        std::string minuto = Minuto_Golo(3);
        if (minuto.size() == 1) minuto = "0" + minuto;
        std::string entrada = minuto + "'-" + marcador.nome;
        auto onde = std::upper_bound(entradas.begin(), entradas.end(), entrada,
                                     [](const std::string& a, const std::string& b) {
                                         return db::comparar_nomes(a, b) < 0;
                                     });
        entradas.insert(onde, std::move(entrada));
    }
    std::string texto;
    for (std::size_t i = 0; i < entradas.size(); ++i) texto += (i ? "\t" : "") + entradas[i];
    Texto_Marcadores = entradas.empty() ? std::string() : entradas.back();
    return texto;
}

} // namespace

const char* Posicao_Marcador(double r) {
    if (r >= 0.55) return "av";
    if (r >= 0.25) return "md";
    return "df";
}

int Candidato_Marcador(int n, double r) {
    if (n >= 3) return r >= 0.55 ? 0 : r >= 0.25 ? 1 : 2;
    return Int(n * r);
}

std::string Marcadores_Jogo(int golos, const std::string& clube, int modo) {
    return marcadores(golos, clube, modo);
}

std::string Marcadores_Jogo_Taca(int golos, const std::string& clube, int modo) {
    if (!clube_da_liga(clube)) {
        Texto_Marcadores.clear();
        return {};
    }
    return marcadores(golos, clube, modo);
}

std::string Minuto_Golo(int periodo) {
    Randomize();
    const double r = Sorteio();
    switch (periodo) {
    case 1: return std::to_string(Int(r * 45 + 1));
    case 2: return std::to_string(Int(r * 48 + 45));
    case 3: return std::to_string(Int(r * 93 + 1));
    default: return {};
    }
}

void Limpar_Melhores_Marcadores() {
    auto& d = base();
    // Found through the scorers' index, which holds the club; a blank club
    // sorts, byte by byte, before "!", so trim() sees only the few that may be.
    d.Execute("DELETE FROM Melhores_Marcadores_Sempre WHERE rowid IN (SELECT rowid FROM Melhores_Marcadores_Sempre "
              "WHERE equipa IS NULL OR (equipa COLLATE BINARY < '!' AND trim(equipa) = ''))");

    // A player who left keeps one row per club, position and age: the best.
    auto saidos = d.OpenRecordset(
        "SELECT nome, equipa, pos, idade FROM Melhores_Marcadores_Sempre WHERE sit = 0 "
        "GROUP BY nome, equipa, pos, idade HAVING count(nome) > 1 AND count(idade) > 1");
    for (; !saidos.Eof(); saidos.MoveNext()) {
        auto linhas = d.OpenRecordset(
            "SELECT rowid AS id FROM Melhores_Marcadores_Sempre WHERE sit = 0 AND nome = ? AND equipa = ? "
            "AND pos = ? AND idade = ? ORDER BY golos, rowid",
            {saidos["nome"], saidos["equipa"], saidos["pos"], saidos["idade"]});
        for (int k = linhas.RecordCount(); k > 1; --k, linhas.MoveNext())
            d.Execute("DELETE FROM Melhores_Marcadores_Sempre WHERE rowid = ?", {linhas["id"]});
    }

    // An active player keeps one row per club and position with all his
    // goals, whatever the ages his rows were made at.
    auto activos = d.OpenRecordset(
        "SELECT nome, equipa, pos FROM Melhores_Marcadores_Sempre WHERE sit = 1 "
        "GROUP BY nome, equipa, pos HAVING count(nome) > 1 AND count(pos) > 1");
    for (; !activos.Eof(); activos.MoveNext()) {
        const db::Parametros grupo{activos["nome"], activos["equipa"], activos["pos"]};
        auto soma = d.valor("SELECT sum(golos) FROM Melhores_Marcadores_Sempre WHERE sit = 1 AND nome = ? "
                            "AND equipa = ? AND pos = ?",
                            grupo);
        auto linhas = d.OpenRecordset("SELECT rowid AS id FROM Melhores_Marcadores_Sempre WHERE sit = 1 AND nome = ? "
                                      "AND equipa = ? AND pos = ? ORDER BY golos, rowid",
                                      grupo);
        for (int k = linhas.RecordCount(); k > 1; --k, linhas.MoveNext())
            d.Execute("DELETE FROM Melhores_Marcadores_Sempre WHERE rowid = ?", {linhas["id"]});
        if (!linhas.Eof())
            d.Execute("UPDATE Melhores_Marcadores_Sempre SET golos = ? WHERE rowid = ?", {soma, linhas["id"]});
    }
}

} // namespace gv
