#pragma once
// A game made and saved as "inicio.gv", a temporary folder of the test's
// own, and processes that die as a kill or a power cut would end them.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "data/consultas.h"
#include "desk/proximo_jogo.h"
#include "disco_avariado.h"
#include "jogo_apoio.h"
#include "platform/db/em_jogo.h"
#include "platform/db/maquina.h"
#include "platform/falhas.h"

namespace gv::teste {

class Com_Mortes : public Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        temporaria = pasta / "tmp";
        std::filesystem::create_directories(temporaria);
        ::setenv("TMPDIR", temporaria.c_str(), 1);
        novo_jogo_pt();
        repor_estado();
        std::filesystem::copy_file(caminho("jogo.gv"), caminho("inicio.gv"));
    }
    void TearDown() override {
        desarmar_falhas();
        ::unsetenv("TMPDIR");
        Com_Mestra::TearDown();
    }
    // The last thing the player was told.
    const std::string& ultima() const { return porta.mensagens.back().texto; }
    // Whether the player was told, in either language, that another program
    // wrote into the game's file or its log.
    bool algum_alterado() const {
        for (const auto& m : porta.mensagens)
            if (m.texto.find("foi alterado por outro programa") != std::string::npos ||
                m.texto.find("was changed by another program") != std::string::npos)
                return true;
        return false;
    }
    // Back to the game as it was made, nothing beside it.
    void recomecar() {
        repor_estado();
        remover_com_diario(caminho("jogo.gv"));
        std::filesystem::copy_file(caminho("inicio.gv"), caminho("jogo.gv"));
    }
    Resultado_Jogo carregar(const std::string& nome = "jogo.gv", const char* lingua = "P") {
        repor_estado();
        Lingua = lingua;
        porta.respostas.assign(200, Resposta::Nao);   // every offer turned down
        porta.escolher(Ficheiro_Escolhido{caminho(nome), nome});
        return Carregar_Jogo();
    }
    // f runs in a child process, which must die killed: at the point armed
    // in it, or, `no_fim`, at its end if not before.
    void morrer(const std::function<void()>& f, bool no_fim = false) {
        const pid_t filho = fork();
        ASSERT_GE(filho, 0);
        if (filho == 0) {
            f();
            if (no_fim) ::kill(::getpid(), SIGKILL);
            _exit(0);
        }
        int estado = 0;
        ASSERT_EQ(waitpid(filho, &estado, 0), filho);
        ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << "the point was never reached";
    }
    // The game killed as it closes, its manager renamed: its journal is left
    // beside it, hot.
    void diario_quente(const char* treinador) {
        morrer([&] {
            if (carregar() != Resultado_Jogo::Aberto) _exit(3);
            Base_Dados->Execute("UPDATE principal SET nome = ?", {treinador});
            // The close's first write to the file comes once its journal is synced.
            Disco_Avariado::armar_morte(Operacao::Escrita, 1, Papel::Base);
            Fechar_Base_Dados();
        });
        ASSERT_TRUE(std::filesystem::exists(caminho("jogo.gv-journal")));
    }
    // The game in `nome` (a copy of the one made), killed once the manager
    // was renamed: its log beside it holds the rename.
    void com_log(const std::string& nome, const char* treinador) {
        namespace fs = std::filesystem;
        fs::create_directories(fs::path(caminho(nome)).parent_path());
        fs::copy_file(caminho("inicio.gv"), caminho(nome), fs::copy_options::overwrite_existing);
        morrer([&] {
            if (carregar(nome) != Resultado_Jogo::Aberto) _exit(3);
            armar_morte("em_jogo.commit");
            Base_Dados->Execute("UPDATE principal SET nome = ?", {treinador});
        });
        ASSERT_TRUE(db::log_com_commits(caminho(nome)));
    }
    // A game of its own in `nome`, no log beside it, its manager "Outro".
    std::string outro_jogo(const std::string& nome) {
        std::filesystem::copy_file(caminho("inicio.gv"), caminho(nome), std::filesystem::copy_options::overwrite_existing);
        db::Database::abrir(caminho(nome), Ligacao_BD)->Execute("UPDATE principal SET nome = 'Outro'");
        return ler_bytes(caminho(nome));
    }
    // A round played in the game copied into the folder `sub`, then the
    // folder deleted under it; false where the file system keeps the open
    // game's file in its folder, hidden, and the folder cannot be deleted.
    bool jogar_e_apagar_pasta(const std::filesystem::path& sub) {
        std::filesystem::create_directories(sub);
        std::filesystem::copy_file(caminho("inicio.gv"), sub / "jogo.gv");
        EXPECT_EQ(carregar((sub.filename() / "jogo.gv").string()), Resultado_Jogo::Aberto);
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        std::error_code ec;
        std::filesystem::remove_all(sub, ec);
        return !ec;
    }
    // The game closed, the player told once that its file was deleted and
    // what was played saved in `copia`.
    void fecha_com_copia(const std::string& copia) {
        porta.mensagens.clear();
        Fechar_Base_Dados();
        ASSERT_EQ(porta.mensagens.size(), 1u);
        EXPECT_EQ(porta.mensagens.back().texto,
                  "O ficheiro do jogo \"jogo.gv\" foi apagado enquanto o jogo estava aberto. Tudo o que jogou até "
                  "aqui foi guardado em \"" + caminho(copia) + "\". Para continuar, abra esse ficheiro.");
    }
    // Loaded with no word, at this matchday and with this manager.
    void abre(const std::string& nome, int jornada, const std::string& treinador) {
        porta.mensagens.clear();
        const auto dito = [&] { return porta.mensagens.empty() ? std::string() : porta.mensagens.back().texto; };
        ASSERT_EQ(carregar(nome), Resultado_Jogo::Aberto) << dito();
        EXPECT_TRUE(porta.mensagens.empty()) << dito();
        EXPECT_EQ(Jornada_Actual, jornada) << nome;
        EXPECT_EQ(Nome_Treinador, treinador) << nome;
        Fechar_Base_Dados();
    }
    // The salt jogo.gv begins with (each game has its own), in hex.
    std::string sal_do_jogo() const {
        const std::string b = ler_bytes(caminho("jogo.gv")).substr(0, 16);
        static constexpr char Hex[] = "0123456789abcdef";
        std::string r;
        for (unsigned char c : b) r += {Hex[c >> 4], Hex[c & 15]};
        return r;
    }
    // What this machine's locks reach in the test's folder (maquina.h).
    std::string alcance_da_pasta() const {
        const int fd = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const std::string a = db::alcance_dos_trincos(fd);
        ::close(fd);
        return a;
    }
    std::filesystem::path temporaria;
};

} // namespace gv::teste
