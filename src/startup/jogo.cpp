#include "startup/jogo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "data/carreira.h"
#include "data/consultas.h"
#include "data/erros.h"
#include "data/esquema.h"
#include "data/estado.h"
#include "data/liga.h"
#include "data/tacticas.h"
#include "platform/aleatorio.h"
#include "platform/db/abrir_jogo.h"
#include "platform/db/caminho_real.h"
#include "platform/db/em_jogo.h"
#include "platform/db/lugar.h"
#include "platform/db/obras.h"
#include "platform/db/pasta_temporaria.h"
#include "platform/falhas.h"
#include "platform/interface_utilizador.h"

namespace fs = std::filesystem;

namespace gv {

namespace {

bool mesmo_ficheiro(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

void parar(const std::string& texto) { ui().aviso(texto, Icone::Critico); }

// Not a game at all: the file's own fault, not the machine's.
bool nao_e_jogo(const std::exception& e) {
    using T = db::Erro_BD::Tipo;
    auto* bd = dynamic_cast<const db::Erro_BD*>(&e);
    if (!bd) return false;
    return bd->tipo() == T::Geral || bd->tipo() == T::Nao_E_Base || bd->tipo() == T::Sem_Ficheiro;
}

// A chosen file refused: not a game (the file's own fault, or e is null), or
// the machine around it or damage in plain words, naming the file as it was
// chosen (`escolhido`). The file was not changed, or, once the load had
// begun to write (`escrito`), holds the game as it was.
void recusar_ficheiro(const std::exception* e, const std::string& escolhido, bool escrito = false) {
    Fechar_Base_Dados();
    ui().rato_normal();
    if (!e || nao_e_jogo(*e)) {
        if (e) Registar_Erro(*e);
        parar(txt("O ficheiro escolhido não é um jogo do Golvantario, ou não pode ser aberto.",
                  "The chosen file is not a Golvantario game, or it cannot be opened."));
        return;
    }
    // Damage the engine found reading the game is the chosen file's.
    auto* bd = dynamic_cast<const db::Erro_BD*>(e);
    std::optional<db::Erro_BD> nomeado;
    if (bd && bd->tipo() == db::Erro_BD::Tipo::Danificada && bd->ficheiro().empty())
        e = &nomeado.emplace(bd->numero(), bd->descricao(), bd->tipo(), escolhido, bd->causa());
    // A game whose file lost its name as it was opened: the cause says
    // where it is.
    if (bd && bd->tipo() == db::Erro_BD::Tipo::Ficheiro_Movido && bd->perda() != db::Perda::Nada) {
        parar(std::string(txt("Não foi possível abrir o jogo.", "The game could not be opened.")) + "\n" +
              Aviso_Ficheiro_Movido(*bd));
        return;
    }
    // Another program's write found as the load wrote: whether this window
    // touched what it wrote is said, never that the game is as it was.
    if (bd && bd->tipo() == db::Erro_BD::Tipo::Ficheiro_Alterado) {
        parar(std::string(txt("Não foi possível abrir o jogo.", "The game could not be opened.")) + "\n" +
              Aviso_Alterado_Ao_Abrir(*bd));
        return;
    }
    parar(std::string(txt("Não foi possível abrir o jogo.", "The game could not be opened.")) + Linha_Causa(*e) +
          "\n" + (escrito ? txt("O jogo ficou como estava.", "The game is as it was.") : Jogo_Inalterado()));
}

void recusar_base_mestra() {
    parar(txt("Esse ficheiro é a base de dados do programa e não pode ser usado como jogo.",
              "That file is the program's own database and cannot be used as a saved game."));
}

// Seeds the game tables from one club set and drops every seed table.
void semear(db::Database& d, const std::string& cc) {
    for (const auto& t : tabelas_semente(cc)) {
        std::string jogo = t.nome.substr(0, t.nome.size() - 3);  // without "_cc"
        std::string colunas;
        for (const auto& c : t.colunas) colunas += (colunas.empty() ? "\"" : ", \"") + std::string(c.nome) + "\"";
        d.Execute("INSERT INTO \"" + jogo + "\" (" + colunas + ") SELECT " + colunas + " FROM \"" + t.nome + "\"");
    }
    for (const char* p : Codigos_Pais)
        for (const auto& t : tabelas_semente(p)) d.Execute("DROP TABLE IF EXISTS \"" + t.nome + "\"");
}

// A new game whose file lost its name once put in place: what became of
// the chosen file, and where the new game is now (`p`, worked out as it is
// told: under another name, or in a copy saved beside).
std::string novo_jogo_perdido(const std::string& ficheiro, bool havia, const db::Paradeiro& p) {
    using O = db::Paradeiro::Onde;
    const std::string nome = fs::path(ficheiro).filename().string(), onde = "\"" + p.caminho + "\"";
    std::string r = std::string(p.onde == O::Nenhum
                                    ? txt("Não foi possível criar o novo jogo.", "The new game could not be created.")
                                    : txt("Não foi possível começar o novo jogo.", "The new game could not be started.")) +
                    "\n";
    if (havia)
        r += ingles() ? "The game that was in \"" + nome + "\" was replaced by the new one. "
                      : "O jogo que estava em \"" + nome + "\" foi substituído pelo novo. ";
    r += txt("O ficheiro do novo jogo \"", "The new game's file \"") + nome + txt("\" foi ", "\" was ") +
         (!p.apagado       ? txt("movido ou mudou de nome", "moved or renamed")
          : p.nome_ocupado ? txt("substituído ou apagado", "replaced or deleted")
                           : txt("apagado", "deleted")) +
         txt(" enquanto o jogo era começado", " while the game was being started") +
         (p.nome_ocupado ? txt("; o ficheiro que tem agora esse nome não foi tocado. ",
                               "; the file that has that name now was not touched. ")
                         : ". ");
    if (p.onde == O::Nome)
        return r + txt("O novo jogo está gravado nele, agora em ", "The new game is saved in it, now at ") + onde +
               txt(". Para o jogar, abra-o aí.", ". To play it, open it there.");
    if (p.onde == O::Copia)
        return r + txt("O novo jogo foi guardado em ", "The new game was saved in ") + onde +
               txt(". Para o jogar, abra esse ficheiro.", ". To play it, open that file.");
    return r + txt("Não foi possível guardar o novo jogo num ficheiro próprio na pasta ",
                   "The new game could not be saved in a file of its own in the folder ") + onde +
           txt(", e perdeu-se.", ", and is lost.");
}

} // namespace

bool pasta_gravavel(const std::string& pasta) {
    std::string modelo = (fs::path(pasta) / ".gv-escrita-XXXXXX").string();
    const int fd = ::mkstemp(modelo.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(modelo.c_str());
    return true;
}

std::string Escolher_Pasta_Programa(const std::string& pasta_executavel, const std::string& pasta_dados) {
    std::error_code ec;
    const fs::path exe(pasta_executavel), dados(pasta_dados);
    if (fs::exists(exe / NOME_BASE_MESTRA, ec) && pasta_gravavel(pasta_executavel)) return pasta_executavel;
    const fs::path mestra = dados / NOME_BASE_MESTRA;
    if (!fs::exists(mestra, ec)) {
        fs::create_directories(dados, ec);
        for (const fs::path& instalada :
             {exe / NOME_BASE_MESTRA, exe / ".." / "share" / "golvantario99" / NOME_BASE_MESTRA}) {
            if (!fs::exists(instalada, ec)) continue;
            // Copied whole or not at all.
            fs::path copia = mestra;
            copia += ".a-copiar";
            fs::remove(copia, ec);
            if (fs::copy_file(instalada, copia, ec) && !ec) fs::rename(copia, mestra, ec);
            if (ec) fs::remove(copia, ec);
            break;
        }
    }
    // Without a master database of its own the data folder is no better.
    return fs::exists(mestra, ec) ? pasta_dados : pasta_executavel;
}

void Estado_Novo_Jogo(const Escolhas_Novo_Jogo& e) {
    Nome_Treinador = e.nome;
    Clube_Treinador = e.clube;
    Jogo_Real = e.jogo_real ? 1 : 0;
    Jornada_Actual = 1;
    Epoca_Actual = 1999;
    Eliminatoria_Taca = 1;
    Vencedor_Taca.clear();
}

int Dinheiro_Inicial(const std::string& texto) {
    std::size_t i = 0;
    while (i < texto.size() && texto[i] == ' ') ++i;
    long long n = 0;
    while (i < texto.size() && std::isdigit(static_cast<unsigned char>(texto[i])) && n < 1000)
        n = n * 10 + (texto[i++] - '0');
    return static_cast<int>(n * 1000000);
}

Resultado_Jogo Novo_Jogo(const Escolhas_Novo_Jogo& e) {
    if (e.nome.empty()) {
        parar(txt("Tem que inserir o seu nome.", "You must put your name."));
        return Resultado_Jogo::Nome_Em_Falta;
    }
    // The game's own key is derived while the file is chosen and the game
    // seeded, off the player's wait.
    db::Database::Chave_Nova chave = db::Database::preparar_chave(Ligacao_BD);
    Pedido_Ficheiro pedido;
    pedido.guardar = true;
    pedido.titulo = "Qual o nome do novo Ficheiro?";
    pedido.pasta_inicial = Pasta_Programa;
    auto escolhido = ui().escolher_ficheiro(pedido);
    if (!escolhido || escolhido->caminho.empty()) return Resultado_Jogo::Cancelado;
    const std::string nome = escolhido->caminho;
    auto recusar = [&](const std::exception& erro) {
        parar(std::string(txt("Não foi possível criar o novo jogo.", "The new game could not be created.")) +
              Linha_Causa(erro) + "\n" + Novo_Jogo_Falhado(nome, false, false));
        return Resultado_Jogo::Recusado;
    };
    std::string destino;
    std::shared_ptr<db::Lugar_Jogo> lugar;
    try {
        // Made where the chosen name leads, through any link: resolved
        // once, and its folder held; every step after works through it.
        destino = db::caminho_real(nome);
        if (db::nome_de_obra(destino))
            throw db::Erro_BD(db::ERRO_FICHEIRO, "Nome de um jogo a ser criado: " + destino,
                              db::Erro_BD::Tipo::Nome_De_Obra, nome);
        if (db::nome_ao_lado(destino))
            throw db::Erro_BD(db::ERRO_FICHEIRO, "Nome de um ficheiro ao lado de um jogo: " + destino,
                              db::Erro_BD::Tipo::Nome_Ao_Lado, nome);
        lugar = db::Lugar_Jogo::alcancar(destino, nome);
    } catch (const db::Erro_BD& erro) {
        return recusar(erro);
    }
    if (mesmo_ficheiro(destino, caminho_base_mestra())) {
        recusar_base_mestra();
        return Resultado_Jogo::Recusado;
    }
    const std::string pasta = fs::path(destino).parent_path().string();
    if (lugar->so_de_leitura()) {
        parar(std::string(txt("Não foi possível criar o novo jogo.", "The new game could not be created.")) + "\n" +
              Pasta_So_Leitura_Novo_Jogo(pasta) + "\n" + Novo_Jogo_Falhado(nome, false, false));
        return Resultado_Jogo::Recusado;
    }
    db::limpar_copias_orfas();
    // What this machine's makings killed halfway left (where the folder's
    // locks are this machine's only, what another machine left is judged
    // by its age, never by this machine's locks).
    db::limpar_obras_orfas(lugar->pasta());
    // The making is held first, then the file looked for, then the game in
    // it held; then the note that it is this window's, where another
    // machine would not see these holds, before anything beside it is put
    // back or removed; then what is beside it. Every refusal
    // comes before the question, and a game another window makes or plays
    // meanwhile is never replaced without it.
    std::optional<db::Obra> feitura;
    bool havia = false;
    try {
        feitura.emplace(lugar, db::Espera_Obra_Novo);
        havia = lugar->ocupado();
        if (havia) lugar->segurar();
        lugar->anotar(feitura->tomada() && (!havia || lugar->ficheiro().tomado()));
        lugar->ver_ao_lado();
    } catch (const db::Erro_BD& erro) {
        return recusar(erro);
    }
    if (havia && !ui().pergunta(txt("Este Ficheiro já existe. Substituir?", "This file already exists, Overwrite?")))
        return Resultado_Jogo::Cancelado;

    ui().rato_ocupado();
    bool substituido = false;   // the chosen file holds the new game
    // Built beside the chosen file, in files this window holds, and put in
    // its place last.
    try {
        const db::Obra& obra = *feitura;
        // What a new game killed halfway left there goes first.
        obra.limpar();
        fs::copy_file(caminho_base_mestra(), obra.a_semear(), fs::copy_options::overwrite_existing);
        ui().processar_eventos();
        ponto_de_falha("novo_jogo.copia");

        Base_Dados = db::Database::abrir(obra.a_semear(), Ligacao_BD);
        {
            db::Transaccao t(*Base_Dados);
            semear(*Base_Dados, e.pais);
            t.commit();
        }
        // Compacted into a file with a salt, and so a key, of its own: the
        // pages of another game's log or journal cannot be read with it.
        ponto_de_falha("compactar");
        Base_Dados->exportar(obra.a_cifrar(), Ligacao_BD, std::move(chave));
        Base_Dados->Close();
        Base_Dados = db::Database::abrir(obra.a_cifrar(), Ligacao_BD);
        ponto_de_falha("novo_jogo.semeado");

        Estado_Novo_Jogo(e);
        Randomize();
        {
            db::Transaccao t(*Base_Dados);
            auto& d = *Base_Dados;
            Reiniciar_Epoca();
            for (int div = 1; div <= 3; ++div) Gerar_Calendario(div);
            d.Execute(
                "INSERT INTO principal (nome, equipa, Jornada, contrato, sit, d_total, Epoca, taca, T_contrato) "
                "VALUES (?, ?, ?, ?, 20, ?, ?, ?, 2)",
                {Nome_Treinador, Clube_Treinador, Jornada_Actual, Jogo_Real, Dinheiro_Inicial(e.dinheiro),
                 Epoca_Actual, Eliminatoria_Taca});
            Zerar_V_E_D_GC_PC();
            aplicar_faixas_preco(d);
            d.Execute("UPDATE jogadores SET ordenado = CASE WHEN preco >= 0 THEN preco / 100 "
                      "ELSE -((99 - preco) / 100) END, emprestado = 0, clube_origem = '0', golos = 0");
            d.Execute("INSERT INTO versao (versao, rev) VALUES (?, ?)", {VERSAO_MAIOR, VERSAO_REVISAO});
            d.Execute("DELETE FROM clubes_taca_qualif");
            d.Execute("INSERT INTO clubes_taca_qualif (clube) SELECT clube FROM clubes_taca");
            Sortear_Jogos_Taca();
            Escolher_Melhor_Equipa();
            db::marcar_novo(d);
            ponto_de_falha("novo_jogo.antes_de_gravar");
            t.commit();
        }
        Base_Dados->Close();
        Base_Dados.reset();
        // Held before it takes the chosen name, and only over the game held,
        // or over nothing: a file that took the name meanwhile is never
        // replaced.
        obra.por_no_lugar(havia);
        substituido = true;
        // Made: the file under the name is held as the game from now on,
        // and a rewrite of it holds a making of its own.
        feitura.reset();
        ponto_de_falha("novo_jogo.no_lugar");
        Base_Dados = db::Database::abrir(lugar, Ligacao_BD);
        // A second name given to it meanwhile (a backup's snapshot) keeps
        // the bytes it had: the game goes on written anew under its own,
        // before play writes a byte.
        if (lugar->nomes() > 1) Base_Dados = db::escrever_de_novo(*Base_Dados, lugar, Ligacao_BD);
        db::entrar_em_jogo(*Base_Dados);
        // A name lost as the game was first opened is told now, not at the
        // first round.
        if (Base_Dados->nome_mudou()) throw lugar->perdido(db::Perda::Nada);
        Ficheiro_Jogo = destino;
    } catch (const std::exception& erro) {
        ui().rato_normal();
        // Closed before the making's files go with it.
        Fechar_Base_Dados();
        feitura.reset();
        Ficheiro_Jogo.clear();
        Nome_Treinador.clear();
        Clube_Treinador.clear();
        // Put in place, then its name lost: no file of that name holds it.
        if (substituido && lugar->ficheiro().tomado() && !lugar->nomeia()) {
            Registar_Erro(erro);
            parar(novo_jogo_perdido(nome, havia, lugar->paradeiro(db::Perda::Lido)));
            return Resultado_Jogo::Recusado;
        }
        parar(std::string(txt("Não foi possível criar o novo jogo.", "The new game could not be created.")) +
              Linha_Causa(erro) + "\n" + Novo_Jogo_Falhado(nome, havia, substituido));
        return Resultado_Jogo::Recusado;
    }
    ui().rato_normal();
    return Resultado_Jogo::Aberto;
}

namespace {

// The version check, the file named as it was chosen in a refusal.
bool verificar_versao(db::Database& d, const std::string& nome, const std::string& escolhido) {
    try {
        auto rs = d.OpenRecordset("SELECT versao, rev FROM versao");
        // A database without its version (the master database, a copy of
        // it, a stranger's) is no game.
        if (rs.Eof()) {
            recusar_ficheiro(nullptr, escolhido);
            return false;
        }
        const std::string guardada = rs["versao"].texto() + "." + rs["rev"].texto();
        const std::string programa = std::to_string(VERSAO_MAIOR) + "." + std::to_string(VERSAO_REVISAO);
        if (guardada == programa) return true;
        Fechar_Base_Dados();
        if (ingles())
            parar("Wrong Game Version.\nGolvantario version: " + programa + "\n" + nome + " version: " + guardada);
        else
            parar("Versões dos Jogos Incompativeis.\nVersão do Golvantario: " + programa + "\nVersão do " + nome +
                  ": " + guardada);
        return false;
    } catch (const db::Erro_BD& e) {
        recusar_ficheiro(&e, escolhido);
        return false;
    }
}

} // namespace

bool Verifica_Versao(db::Database& d, const std::string& nome) { return verificar_versao(d, nome, d.caminho()); }

namespace {

// A game made before each game had a salt of its own shares its key with
// every game of its time: it is given its own salt, and so its own key,
// once, written compactly in place of the compaction.
void dar_sal_proprio() {
    // The place outlives the old file's connection: its hold is kept till
    // the new file takes the name.
    const std::shared_ptr<db::Lugar_Jogo> lugar = Base_Dados->lugar();
    auto novo = db::escrever_de_novo(*Base_Dados, lugar, Ligacao_BD, [] {
        Fechar_Base_Dados();
        ponto_de_falha("novo_sal.fechado");
    });
    Base_Dados = std::move(novo);
    db::marcar_commits(*Base_Dados, db::Perda::Lido);
}

// The game file and what is beside it, as far as a write would show: their
// lengths, times, asked of the file system now, and first bytes. Every
// write of a game rewrites its first page; a file system whose times are
// coarse (exFAT's, to two seconds) would not show it by its times alone.
// Looked at while no connection has the file open.
std::vector<std::string> como_esta(const std::string& caminho) {
    std::vector<std::string> r;
    for (const char* s : {"", "-wal", "-journal"}) {
        const std::string f = caminho + s;
        struct statx x {};
        // An empty side file holds nothing: as good as none.
        if (::statx(AT_FDCWD, f.c_str(), AT_STATX_FORCE_SYNC, STATX_TYPE | STATX_SIZE | STATX_MTIME, &x) != 0 ||
            (*s && x.stx_size == 0)) {
            r.emplace_back();
            continue;
        }
        // Never waiting on a pipe put under the name.
        std::string inicio(4096, '\0');
        const int fd = S_ISREG(x.stx_mode) ? ::open(f.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
        const ssize_t n = fd >= 0 ? ::pread(fd, inicio.data(), inicio.size(), 0) : 0;
        inicio.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        if (fd >= 0) ::close(fd);
        r.push_back(std::to_string(x.stx_size) + "@" + std::to_string(x.stx_mtime.tv_sec) + "." +
                    std::to_string(x.stx_mtime.tv_nsec) + ":" + inicio);
    }
    return r;
}

void avisar_log_perdido(const std::string& log) {
    const std::string nome = fs::path(log).filename().string(), n = std::to_string(Jornada_Actual);
    ui().aviso(ingles() ? "The file \"" + nome + "\" beside the game is damaged and could not be used whole. The "
                              "game opens at matchday " + n + "; what was done after that is lost."
                        : "O ficheiro \"" + nome + "\" ao lado do jogo está danificado e não pôde ser usado por "
                              "inteiro. O jogo abre na jornada " + n + "; o que se fez depois disso perdeu-se.",
               Icone::Exclamacao);
}

} // namespace

Resultado_Jogo Carregar_Jogo() {
    Pedido_Ficheiro pedido;
    pedido.titulo = "Abrir Ficheiro Existente";
    pedido.pasta_inicial = Pasta_Programa;
    pedido.extensao_defeito.clear();
    auto escolhido = ui().escolher_ficheiro(pedido);
    if (!escolhido || escolhido->caminho.empty()) return Resultado_Jogo::Cancelado;
    const std::string nome = escolhido->caminho;
    // Everything is done on the file the chosen name leads to, through any
    // link, resolved once.
    std::string caminho;
    try {
        caminho = db::caminho_real(nome);
    } catch (const db::Erro_BD& erro) {
        recusar_ficheiro(&erro, nome);
        return Resultado_Jogo::Recusado;
    }
    ponto_de_falha("carregar.caminho");
    std::error_code ec;
    if (!fs::is_regular_file(caminho, ec)) {
        parar(txt("Este Ficheiro não existe.", "This file doesn't exists."));
        return Resultado_Jogo::Recusado;
    }
    if (mesmo_ficheiro(caminho, caminho_base_mestra())) {
        recusar_base_mestra();
        return Resultado_Jogo::Recusado;
    }
    ui().rato_ocupado();
    // A game still open is closed first: while played it holds its file alone.
    Fechar_Base_Dados();
    // Look before touching: the file is only written once it is known to be
    // a game of this version, and a log or journal beside it only taken
    // once it is known to continue this very file.
    db::Jogo_Aberto aberto;
    // A failure once the load has written leaves the game as it was, not
    // the file.
    std::vector<std::string> antes;
    try {
        antes = como_esta(caminho);
        aberto = db::abrir_jogo(caminho, nome, Ligacao_BD, [&](db::Database& d) {
            if (!verificar_versao(d, escolhido->titulo, nome)) return false;
            if (d.valor("SELECT count(*) FROM principal").int32() == 1) return true;
            recusar_ficheiro(nullptr, nome);
            return false;
        });
    } catch (const db::Erro_BD& erro) {
        recusar_ficheiro(&erro, nome, !antes.empty() && como_esta(caminho) != antes);
        return Resultado_Jogo::Recusado;
    }
    ui().rato_normal();
    if (!aberto.base) return Resultado_Jogo::Recusado;
    Base_Dados = std::move(aberto.base);
    // What a new game or a load killed while making this game anew left.
    db::limpar_obras_orfas(Base_Dados->lugar()->pasta());
    ui().rato_ocupado();
    ui().processar_eventos();
    std::string vencedor_por_anunciar;
    try {
        // A game of its own salt has a mark with one before it: read before
        // the indexes' commit marks it too. A game written anew has its own.
        const bool sal_proprio = aberto.reescrito || db::marca_lida(*Base_Dados).anterior != 0;
        // A commit only where an index is to be built: one that changes
        // nothing would cost its syncs all the same.
        if (!indices_em_dia(*Base_Dados)) {
            db::Transaccao t(*Base_Dados);
            criar_indices(*Base_Dados);
            t.commit();
        }
        // Compacted as play begins, unless a new salt does it now.
        if (sal_proprio)
            ponto_de_falha("compactar");
        else
            dar_sal_proprio();
        db::entrar_em_jogo(*Base_Dados, sal_proprio && !aberto.reescrito);
        auto p = Base_Dados->OpenRecordset("SELECT equipa, Jornada, Epoca, taca, nome, contrato FROM principal");
        Clube_Treinador = p["equipa"].texto();
        Jornada_Actual = p["Jornada"].int32();
        Epoca_Actual = p["Epoca"].int32();
        Eliminatoria_Taca = p["taca"].int32();
        Nome_Treinador = p["nome"].texto();
        Jogo_Real = p["contrato"].int32() == 1 ? 1 : 0;
        Vencedor_Taca.clear();
        const std::string espera = "SELECT clube FROM clubes_taca_qualif";
        if (Contar_Linhas(espera) == 1) Vencedor_Taca = Base_Dados->valor(espera).texto();
        vencedor_por_anunciar = Completar_Sorteio_Taca();
    } catch (const std::exception& erro) {
        // Closed first: the close moves into the file what the log holds.
        Fechar_Base_Dados();
        recusar_ficheiro(&erro, nome, como_esta(caminho) != antes);
        return Resultado_Jogo::Recusado;
    }
    Ficheiro_Jogo = caminho;
    ui().processar_eventos();
    ui().rato_normal();
    if (!aberto.log_perdido.empty()) avisar_log_perdido(aberto.log_perdido);
    if (!vencedor_por_anunciar.empty()) Anunciar_Vencedor_Taca(vencedor_por_anunciar);
    return Resultado_Jogo::Aberto;
}

std::array<std::vector<std::string>, 3> Ler_Clubes_Pais(const std::string& cc) {
    std::array<std::vector<std::string>, 3> r;
    bool conhecido = false;
    for (const char* p : Codigos_Pais) conhecido = conhecido || cc == p;
    if (!conhecido) return r;
    auto mestra = db::Database::abrir(caminho_base_mestra(), Ligacao_BD, db::Modo::So_Leitura);
    auto rs = mestra->OpenRecordset("SELECT clube, div FROM clubes_" + cc + " ORDER BY clube");
    for (; !rs.Eof(); rs.MoveNext()) {
        int div = rs["div"].int32();
        if (div >= 1 && div <= 3) r[div - 1].push_back(rs["clube"].texto());
    }
    return r;
}

} // namespace gv
