// The load's policy: which refusals come first, what is judged from the
// bytes, what the engine is shown in a private copy, and how the game's
// own side file is taken into the file before anything else is written.

#include "platform/db/abrir_jogo.h"

#include "platform/db/chave.h"
#include "platform/db/continuidade.h"
#include "platform/db/em_jogo.h"
#include "platform/db/interno.h"
#include "platform/db/lugar.h"
#include "platform/db/obras.h"
#include "platform/db/pagina_cifrada.h"
#include "platform/db/pasta_temporaria.h"
#include "platform/falhas.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

// No log or journal of the game's grows near this, nor past many times the
// game's own size.
constexpr std::uintmax_t Maior_Sobra = std::uintmax_t(1) << 30;

// The key of the file open at fd, from the salt it begins with; nothing
// without a password, a salt or the engine's way of deriving keys.
std::optional<Cifra_Paginas> cifra_de(int fd, const std::string& ligacao) {
    const std::string senha = senha_da_ligacao(ligacao);
    unsigned char sal[chave::Tamanho_Sal];
    if (senha.empty() || ler_em(fd, sal, sizeof sal, 0) != sizeof sal) return std::nullopt;
    return Cifra_Paginas::de(senha, sal);
}

// What the game file's first page tells: read from its start.
Identidade identidade_de(int fd, std::uintmax_t tamanho, const Cifra_Paginas* cifra) {
    const auto paginas = Database::paginas_possiveis(tamanho);
    std::vector<unsigned char> inicio(static_cast<std::size_t>(*std::max_element(paginas.begin(), paginas.end())));
    const std::size_t lidos = cifra ? ler_em(fd, inicio.data(), inicio.size(), 0) : 0;
    return identidade(inicio.data(), lidos, tamanho, cifra);
}

// The file alone, opened to be played. One the engine takes for no
// database of ours but whose first page reads under its key is a game of
// ours, damaged (cut short, say), and named so.
std::unique_ptr<Database> abrir_sozinho(const std::shared_ptr<Lugar_Jogo>& lugar, const std::string& ligacao,
                                        std::uintmax_t tamanho) {
    const std::string& caminho = lugar->caminho();
    try {
        auto d = Database::abrir(lugar, ligacao, Modo::Leitura_Escrita, {0, true});
        // Ending inside a page, with no log beside it to hold that page: cut
        // short.
        if (tamanho % static_cast<std::uintmax_t>(d->pagina()) != 0)
            throw Erro_BD(SQLITE_CORRUPT, "O ficheiro está cortado a meio de uma página: " + caminho,
                          Erro_BD::Tipo::Danificada, caminho);
        return d;
    } catch (const Erro_BD& e) {
        if (e.tipo() != Erro_BD::Tipo::Nao_E_Base || !lugar->ficheiro().tomado()) throw;
        const int fd = lugar->ficheiro().descritor();
        const auto cifra = cifra_de(fd, ligacao);
        const Identidade id = identidade_de(fd, tamanho, cifra ? &*cifra : nullptr);
        if (!id.lida) throw;
        throw Erro_BD(SQLITE_CORRUPT, "O ficheiro está danificado: " + caminho, Erro_BD::Tipo::Danificada, caminho);
    }
}

[[noreturn]] void alheia(const std::string& caminho, const std::string& sobra, const std::string& porque) {
    throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho + " está " + sobra + ", que não é seu: " + porque,
                  Erro_BD::Tipo::Sobra_Alheia, sobra);
}

// Whether the engine's failure reading the game in a private copy is the
// game's damage; any other is the temporary folder's.
void damagem_ou_temporaria(const Erro_BD& e, const Copia_Privada& copia) {
    using T = Erro_BD::Tipo;
    if (e.tipo() == T::Erro_ES || e.tipo() == T::Disco_Cheio || e.tipo() == T::So_Leitura ||
        e.tipo() == T::Sem_Permissao || e.tipo() == T::Sem_Ficheiro)
        copia.falhou(e);
}

// Whether the file alone, in a private copy, reads whole.
bool le_se_bem_sozinho(const Lugar_Jogo& lugar, const std::string& ligacao, Copia_Privada& copia) {
    try {
        auto d = Database::abrir(copia.copiar(lugar.ficheiro().descritor(), lugar.caminho(), "so/" + lugar.nome()), ligacao);
        return d->valor("PRAGMA integrity_check").texto() == "ok";
    } catch (const Erro_BD& e) {
        damagem_ou_temporaria(e, copia);
        return false;
    }
}

// The open game with its commits marked, before anything more is written
// to it, the name looked at once more. The file is in its journal's mode,
// held by this window: a shared index beside it is a killed load's, and goes.
void preparar(Database& d) {
    marcar_commits(d, Perda::Lido);
    if (d.nome_mudou()) throw d.lugar()->perdido(Perda::Lido);
    // What the load wrote, looked at as play's steps are.
    if (d.lugar()->alterado()) throw d.lugar()->alterado_por_outro();
    d.lugar()->remover_indice_partilhado();
}

// The load of the file in its place.
Jogo_Aberto abrir_ficheiro(const std::shared_ptr<Lugar_Jogo>& lugar, const std::string& ligacao,
                           const std::function<bool(Database&)>& aceitar) {
    Jogo_Aberto r;
    const std::string& caminho = lugar->caminho();
    // A game is played where its journal and its log can be made beside it.
    if (lugar->so_de_leitura())
        throw Erro_BD(SQLITE_READONLY, "A pasta de " + caminho + " só pode ser lida", Erro_BD::Tipo::Pasta_So_Leitura,
                      caminho);
    lugar->segurar();
    // Open on a machine the hold does not reach: told once what this
    // machine's windows hold is, before anything beside the game is put
    // back or removed.
    lugar->anotar(lugar->ficheiro().tomado());
    const bool varios_nomes = lugar->nomes() > 1;
    // What a load killed while it looked left in the temporary folder goes
    // with the next load, whatever that one finds.
    limpar_copias_orfas();
    const std::uintmax_t tamanho = lugar->tamanho();
    std::vector<Lugar_Jogo::Ao_Lado> ao_lado = lugar->ver_ao_lado();
    for (const auto& f : ao_lado)
        if (f.tamanho > std::max(Maior_Sobra, 16 * tamanho))
            throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho + " está " + f.caminho + ", grande demais",
                          Erro_BD::Tipo::Sobra_Grande, f.caminho);
    // One a rewrite set aside, put back, that is not this file's was the
    // old file's: its rewrite took everything in it, and it goes.
    if (std::any_of(ao_lado.begin(), ao_lado.end(), [](const auto& f) { return f.posto; })) {
        const int fd = lugar->ficheiro().descritor();
        const auto cifra = cifra_de(fd, ligacao);
        const Identidade id = identidade_de(fd, tamanho, cifra ? &*cifra : nullptr);
        std::erase_if(ao_lado, [&](const Lugar_Jogo::Ao_Lado& f) {
            const Veredicto v = f.log ? decidir(id, ler_log(f.fd, cifra ? &*cifra : nullptr, id.paginas.front())).veredicto
                                      : decidir(id, ler_diario(f.fd, f.tamanho, cifra ? &*cifra : nullptr,
                                                               id.paginas.front())).veredicto;
            if (!f.posto || v != Veredicto::Alheia) return false;
            lugar->remover_posto(f.log);
            return true;
        });
    }
    if (ao_lado.empty()) {
        // Held alone from the first read: a file left in the log's mode
        // makes no shared index beside it.
        auto d = abrir_sozinho(lugar, ligacao, tamanho);
        if (!aceitar(*d)) return r;
        if (varios_nomes) {
            r.reescrito = true;
            d = escrever_de_novo(*d, lugar, ligacao);
        }
        // A file left in the log's mode with its log gone away is given its
        // journal back before anything is written to it.
        sair_do_log(*d);
        preparar(*d);
        r.base = std::move(d);
        return r;
    }
    // The file is held alone from its first read, its log's index in
    // memory: no shared index file is made beside the game, whatever mode
    // a journal played back leaves it in.
    Abertura como{0, true};
    {
        const int fd = lugar->ficheiro().descritor();
        // Nothing is copied while another program writes the file.
        Leitura_Partilhada leitura(fd, caminho);
        Copia_Privada copia;
        ponto_de_falha("carregar.copia");

        const std::optional<Cifra_Paginas> cifra = cifra_de(fd, ligacao);
        const Cifra_Paginas* chave = cifra ? &*cifra : nullptr;
        const Identidade id = identidade_de(fd, tamanho, chave);
        if (id.paginas.size() == 1) como.pagina = id.paginas.front();

        // Each judged by its bytes before the engine is shown it.
        std::string nomeado;   // the one a refusal names: what the engine would take
        bool dono_incerto = false, danificada = false, cortada = false;
        for (const auto& f : ao_lado) {
            Decisao d;
            if (f.log) {
                const Leitura_Log l = ler_log(f.fd, chave, id.paginas.front());
                d = decidir(id, l);
                if (l.cabecalho) como.pagina = l.pagina;
                if (d.perdidos) r.log_perdido = f.caminho;
            } else {
                const Leitura_Diario j = ler_diario(f.fd, f.tamanho, chave, id.paginas.front());
                d = decidir(id, j);
                if (j.quente && j.cabecalho) como.pagina = j.pagina;
            }
            if (d.veredicto == Veredicto::Alheia) alheia(caminho, f.caminho, d.porque);
            if (d.veredicto != Veredicto::Nada && nomeado.empty()) nomeado = f.caminho;
            danificada = danificada || d.veredicto == Veredicto::Danificada;
            cortada = cortada || d.cortada;
            dono_incerto = dono_incerto || d.dono_incerto;
        }
        if (nomeado.empty()) nomeado = r.log_perdido.empty() ? ao_lado.front().caminho : r.log_perdido;
        // What was judged is the game's own only while the game has its name.
        if (!lugar->nomeia()) throw lugar->perdido(Perda::Lido);

        // The file with what is beside it, as the engine reads it: the very
        // files judged.
        std::unique_ptr<Database> par;
        bool le_se_bem = false;
        if (!danificada) {
            const std::string copia_jogo = copia.copiar(fd, caminho, "par/" + lugar->nome());
            for (const auto& f : ao_lado)
                copia.copiar(f.fd, f.caminho, "par/" + lugar->nome() + f.caminho.substr(caminho.size()));
            try {
                par = Database::abrir(copia_jogo, ligacao, Modo::Leitura_Escrita, {como.pagina, false});
                le_se_bem = par->valor("PRAGMA integrity_check").texto() == "ok";
            } catch (const Erro_BD& e) {
                // Pages the file's key cannot read, or damage nothing mends.
                damagem_ou_temporaria(e, copia);
            }
        }
        if (!le_se_bem) {
            par.reset();
            // The file's own side file, damaged, is named, and whether the
            // file stands without it; other damage nothing mends is the file's.
            const bool sozinho = le_se_bem_sozinho(*lugar, ligacao, copia);
            // A side file torn at its tail that leaves the game unread was
            // cut short beyond what a cut leaves: damaged.
            danificada = danificada || cortada;
            if (!sozinho && !danificada)
                throw Erro_BD(SQLITE_CORRUPT, "O ficheiro está danificado: " + caminho, Erro_BD::Tipo::Danificada,
                              caminho);
            if (dono_incerto && !danificada) alheia(caminho, nomeado, "o jogo com ele não se lê inteiro");
            throw Erro_BD(SQLITE_CORRUPT, "Ao lado de " + caminho + " está " + nomeado + ", danificado",
                          Erro_BD::Tipo::Sobra_Danificada, nomeado,
                          sozinho ? Erro_BD::Tipo::Geral : Erro_BD::Tipo::Danificada);
        }
        if (!aceitar(*par)) return {};
        if (varios_nomes) {
            // Written anew from the private copy, what is beside it taken.
            r.reescrito = true;
            r.base = escrever_de_novo(*par, lugar, ligacao);
        }
    }
    if (r.base) {
        preparar(*r.base);
        return r;
    }
    // Taken into the file itself: a journal is played back as the file is
    // read; a log is moved in and gone before anything else is written.
    // The file alone then holds the game.
    try {
        ponto_de_falha("carregar.abrir");
        auto d = Database::abrir(lugar, ligacao, Modo::Leitura_Escrita, como);
        ponto_de_falha("carregar.tomar");
        sair_do_log(*d);
        preparar(*d);
        r.base = std::move(d);
        return r;
    } catch (const Erro_BD&) {
        // The engine looks for the game by its name as it opens the log:
        // a failure with the name lost meanwhile is that loss.
        if (lugar->ficheiro().tomado() && !lugar->nomeia()) throw lugar->perdido(Perda::Lido);
        throw;
    }
}

} // namespace

std::unique_ptr<Database> escrever_de_novo(Database& origem, const std::shared_ptr<Lugar_Jogo>& lugar,
                                           const std::string& ligacao,
                                           const std::function<void()>& antes_de_substituir) {
    // Nobody else makes a game this window holds: another window may only
    // look at the making for a moment, and is waited for.
    const Obra obra(lugar, Espera_Obra_Carregar);
    obra.limpar();
    ponto_de_falha("compactar");
    const int pagina = origem.pagina();
    origem.exportar(obra.a_cifrar(), ligacao);
    if (antes_de_substituir) antes_de_substituir();
    // Only over the game held, while its name names it.
    obra.por_no_lugar(true);
    return Database::abrir(lugar, ligacao, Modo::Leitura_Escrita, {pagina, true});
}

Jogo_Aberto abrir_jogo(const std::string& caminho, const std::string& escolhido, const std::string& ligacao,
                       const std::function<bool(Database&)>& aceitar) {
    std::error_code ec;
    const fs::path junto = fs::absolute(escolhido, ec).lexically_normal();
    std::shared_ptr<Lugar_Jogo> lugar;
    try {
        lugar = Lugar_Jogo::alcancar(caminho, escolhido);
        return abrir_ficheiro(lugar, ligacao, aceitar);
    } catch (const Erro_BD& e) {
        using T = Erro_BD::Tipo;
        // Another program wrote the file or its log as the load wrote:
        // whatever the engine made of the write refused, that is what is
        // told, with where a log the other wrote was set aside; the log and
        // journal this window held go, so that the next load finds nothing
        // of this window's beside what the other wrote.
        if (lugar && lugar->vigia().alterado() >= 0) {
            lugar->largar_alterados();
            throw lugar->alterado_por_outro();
        }
        // The file lost its name as it was opened: where it is, with what
        // the load took in, is told.
        if (e.tipo() == T::Ficheiro_Movido && lugar && lugar->ficheiro().tomado()) throw lugar->perdido(Perda::Lido);
        // A side file not beside the game as the player chose it is named
        // with its folder: the one beside the chosen name is another.
        const bool ao_lado = e.ficheiro().size() > caminho.size() && e.ficheiro().rfind(caminho, 0) == 0;
        if (ao_lado && junto != fs::path(caminho)) {
            Erro_BD com_pasta = e;
            com_pasta.nomear_com_pasta();
            throw com_pasta;
        }
        // The game is named as the player chose it; a read-only folder is
        // the real file's.
        if (e.ficheiro() != caminho || e.tipo() == T::Pasta_So_Leitura || caminho == escolhido)
            throw;
        throw Erro_BD(e.numero(), e.descricao(), e.tipo(), escolhido, e.causa());
    }
}

} // namespace gv::db
