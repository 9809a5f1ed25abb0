#include "platform/db/continuidade.h"

#include "platform/db/database.h"
#include "platform/db/pagina_cifrada.h"

#include <algorithm>

namespace gv::db {

namespace {

bool cabe(const Identidade& f, int pagina) {
    return std::find(f.paginas.begin(), f.paginas.end(), pagina) != f.paginas.end();
}

Decisao alheia(std::string porque) { return {Veredicto::Alheia, false, false, false, std::move(porque)}; }

// Marks drawn at random, not an earlier version's count (nor a file never
// marked), which another game may share by chance.
bool sorteada(const Marca& m) { return m.marca != 0 && m.anterior != 0; }

// An earlier version counted its commits: one more each, never a previous
// mark. The file's count is the one before the log's first, or one of
// theirs when a checkpoint was cut off halfway.
bool por_contagem(const Marca& f, const std::vector<Marca>& commits) {
    if (f.anterior != 0) return false;
    for (std::size_t i = 0; i < commits.size(); ++i)
        if (commits[i].anterior != 0 || commits[i].marca != commits.front().marca + static_cast<long long>(i))
            return false;
    return f.marca >= commits.front().marca - 1 && f.marca <= commits.back().marca;
}

// Whether a frame the engine cannot read hides commits the player was shown
// as done: a commit past it with another after it was synced, and so was
// done. A commit that failed is cut from the log, or, where the cut
// failed too, written over by the next from the same frame on: what is left
// of it beyond the next one begins at a commit's end, holds none of its
// first page (written first), or only one whose previous mark is before
// the last commit read: a sibling of it, never its descendant.
bool perdidos(const Leitura_Log& log, const Marca& ficheiro) {
    if (!log.quebra) return false;
    const Quebra_Log& q = *log.quebra;
    // Each commit is synced before the next is written: one commit past
    // the break is the one in flight when a cut or a kill came, torn, or
    // what a failed commit left, never one the player was shown as done.
    if (q.commits_depois <= 1) return false;
    if (q.dentro_de_commit || q.na_pagina_1) return true;
    const auto& primeiro = log.commits.empty() ? std::optional<Marca>() : log.commits.front().marca;
    std::vector<long long> lidas{primeiro ? primeiro->anterior : ficheiro.marca};
    for (const auto& c : log.commits)
        if (c.marca) lidas.push_back(c.marca->marca);
    return std::any_of(q.marcas_depois.begin(), q.marcas_depois.end(), [&](const Marca& m) {
        return m.anterior == lidas.back() || std::find(lidas.begin(), lidas.end(), m.anterior) == lidas.end();
    });
}

// The file's marks unread, its first page too torn to tell even them: the
// salt its key comes from may be torn too, so the key's verdict on what is
// beside it proves nothing; only whether the engine reads the two whole.
Decisao sem_identidade(bool nada) { return {nada ? Veredicto::Nada : Veredicto::Continua, true, false, false, {}}; }

} // namespace

Identidade identidade(const unsigned char* inicio, std::size_t lidos, std::uintmax_t tamanho,
                      const Cifra_Paginas* cifra) {
    Identidade id;
    id.paginas = Database::paginas_possiveis(tamanho);
    if (!cifra) return id;
    for (int p : id.paginas)
        if (lidos >= static_cast<std::size_t>(p) && cifra->confere(inicio, p, 1)) {
            id.paginas = {p};
            break;
        }
    // The marks lie in the page's first enciphered blocks.
    if (lidos >= 80)
        if (const auto m = cifra->marcas(inicio)) {
            id.lida = true;
            id.marca = *m;
        }
    return id;
}

Decisao decidir(const Identidade& f, const Leitura_Log& log) {
    if (log.vazio) return {};
    if (!f.lida) return sem_identidade(log.commits.empty() && log.cabecalho);
    if (log.imagens_nossas == 0 && log.imagens_alheias > 0) return alheia("páginas de outra chave");
    if (!log.cabecalho)
        return log.imagens_nossas > 0 ? Decisao{Veredicto::Danificada, false, false, false, "cabeçalho de log danificado"}
                                      : alheia("cabeçalho de log inválido");
    if (!cabe(f, log.pagina)) return alheia("páginas de outro tamanho");
    const bool marcados = std::all_of(log.commits.begin(), log.commits.end(), [](const Commit_Lido& c) { return c.marca.has_value(); });
    Decisao d{Veredicto::Continua, false, false, perdidos(log, f.marca), {}};
    if (log.commits.empty()) {
        d.veredicto = Veredicto::Nada;
        return d;
    }
    // Without the commits' marks nothing tells whose it is.
    if (!marcados) {
        d.dono_incerto = true;
        return d;
    }
    std::vector<Marca> commits;
    for (const auto& c : log.commits) commits.push_back(*c.marca);
    // It follows the file as its last complete checkpoint left it; or the
    // file holds one of its commits, a checkpoint cut off on the way.
    if (f.marca.marca == commits.front().anterior) {
        d.dono_incerto = !sorteada(commits.front());
        return d;
    }
    if (const auto c = std::find(commits.begin(), commits.end(), f.marca); c != commits.end()) {
        d.dono_incerto = !sorteada(*c);
        return d;
    }
    if (por_contagem(f.marca, commits)) {
        d.dono_incerto = true;
        return d;
    }
    return alheia("continua outra cópia do jogo");
}

Decisao decidir(const Identidade& f, const Leitura_Diario& j) {
    if (!j.quente) return {};
    if (!f.lida) return sem_identidade(false);
    if (j.imagens_nossas == 0 && j.imagens_alheias > 0) return alheia("páginas de outra chave");
    if (!j.cabecalho)
        return j.imagens_nossas > 0 ? Decisao{Veredicto::Danificada, false, false, false, "cabeçalho de diário danificado"}
                                    : alheia("não é um diário");
    if (!cabe(f, j.pagina)) return alheia("páginas de outro tamanho");
    Decisao d{Veredicto::Continua, false, false, false, {}};
    // A journal puts back the state the file was in, and so its mark: the
    // file holds it still, or, its first page written already, the mark
    // its transaction was committing, whose mark before is that one. A
    // journal of a moment further back is another's.
    // The first commit marked of an earlier version's game, never marked,
    // has 0 as the mark before its own: whose the journal is then rests on
    // whether the two read whole.
    if (j.restaura) {
        const bool antes = *j.restaura == f.marca;
        const bool durante = f.marca.anterior == j.restaura->marca && f.marca.marca != 0;
        if (!antes && !durante) return alheia("repõe outro estado do jogo");
        d.dono_incerto = !sorteada(*j.restaura) || !sorteada(f.marca);
    } else {
        d.dono_incerto = true;
    }
    // A journal torn at its tail (a cut before its sync) is played back as
    // far as its records are whole, as the engine does: the file was not
    // yet written past them.
    d.cortada = !j.completo;
    return d;
}

} // namespace gv::db
