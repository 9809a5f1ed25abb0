// The rule that decides whether a log or journal continues a game file,
// from what the bytes tell alone.

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include "apoio.h"
#include "data/estado.h"
#include "platform/db/continuidade.h"
#include "platform/db/database.h"
#include "platform/db/pagina_cifrada.h"

using namespace gv::db;

namespace {

Identidade ficheiro(long long marca, long long anterior, bool lida = true) {
    Identidade f;
    f.lida = lida;
    f.paginas = {4096};
    f.marca = {marca, anterior};
    return f;
}

Leitura_Log log_de(std::vector<Marca> commits, std::optional<Quebra_Log> quebra = {}) {
    Leitura_Log l;
    l.vazio = false;
    l.cabecalho = true;
    l.pagina = 4096;
    for (const auto& m : commits) l.commits.push_back({m});
    l.quebra = std::move(quebra);
    l.imagens_nossas = static_cast<int>(commits.size());
    return l;
}

struct Caso_Log {
    const char* o_que;
    Identidade f;
    Leitura_Log log;
    Veredicto veredicto;
    bool dono_incerto = false;
};

TEST(Continuidade, ALogIsTakenWhenItContinuesTheFileFromItsLastCompleteCheckpoint) {
    Leitura_Log vazio;
    Leitura_Log alheias = log_de({{11, 10}});
    alheias.imagens_nossas = 0;
    alheias.imagens_alheias = 3;
    Leitura_Log cabeca_nossa = log_de({}), cabeca_alheia = log_de({});
    cabeca_nossa.cabecalho = cabeca_alheia.cabecalho = false;
    cabeca_alheia.imagens_nossas = 0;
    cabeca_nossa.imagens_nossas = 2;
    Leitura_Log pequenas = log_de({{11, 10}});
    pequenas.pagina = 1024;
    Leitura_Log sem_marcas = log_de({{11, 10}});
    sem_marcas.commits[0].marca.reset();
    const std::vector<Caso_Log> casos{
        {"nothing the engine reads", ficheiro(10, 5), vazio, Veredicto::Nada},
        {"whole commits: none", ficheiro(10, 5), log_de({}), Veredicto::Nada},
        {"after the last complete checkpoint", ficheiro(10, 5), log_de({{11, 10}, {12, 11}}), Veredicto::Continua},
        {"a checkpoint cut off after the first commit", ficheiro(11, 10), log_de({{11, 10}, {12, 11}}),
         Veredicto::Continua},
        {"a checkpoint that wrote everything", ficheiro(12, 11), log_de({{11, 10}, {12, 11}}), Veredicto::Continua},
        {"the load's compaction, then its mark", ficheiro(10, 5), log_de({{10, 5}, {13, 10}}), Veredicto::Continua},
        {"another copy, played apart", ficheiro(10, 5), log_de({{21, 20}, {22, 21}}), Veredicto::Alheia},
        {"the file past the log", ficheiro(30, 12), log_de({{11, 10}, {12, 11}}), Veredicto::Alheia},
        {"a page of the file's, marks of another", ficheiro(11, 9), log_de({{11, 10}}), Veredicto::Alheia},
        {"another game's key", ficheiro(10, 5), alheias, Veredicto::Alheia},
        {"its own, header damaged", ficheiro(10, 5), cabeca_nossa, Veredicto::Danificada},
        {"no log at all", ficheiro(10, 5), cabeca_alheia, Veredicto::Alheia},
        {"another page size", ficheiro(10, 5), pequenas, Veredicto::Alheia},
        {"the earlier version's count", ficheiro(7, 0), log_de({{8, 0}, {9, 0}}), Veredicto::Continua, true},
        {"that count, a checkpoint cut off", ficheiro(8, 0), log_de({{8, 0}, {9, 0}}), Veredicto::Continua, true},
        {"another count", ficheiro(7, 0), log_de({{12, 0}}), Veredicto::Alheia},
        {"a count after a file with a mark before its own", ficheiro(7, 3), log_de({{8, 0}, {9, 0}}),
         Veredicto::Alheia},
        {"a count that skips", ficheiro(7, 0), log_de({{8, 0}, {10, 0}}), Veredicto::Alheia},
        {"a file never marked, marked twice", ficheiro(0, 0), log_de({{31, 0}, {32, 31}}), Veredicto::Continua, true},
        {"the file's marks unread", ficheiro(0, 0, false), log_de({{21, 20}}), Veredicto::Continua, true},
        {"commits without marks", ficheiro(10, 5), sem_marcas, Veredicto::Continua, true},
    };
    for (const auto& c : casos) {
        const Decisao d = decidir(c.f, c.log);
        EXPECT_EQ(d.veredicto, c.veredicto) << c.o_que;
        if (d.veredicto == Veredicto::Continua) {
            EXPECT_EQ(d.dono_incerto, c.dono_incerto) << c.o_que;
        }
    }
}

// Past a frame the engine cannot read: what a failed commit left under the
// next one, or the commit in flight torn by a cut, is no loss; commits after
// a damaged one are.
TEST(Continuidade, CommitsPastABrokenFrameAreLostOnlyWhenTheyFollowTheLastOneRead) {
    const Identidade f = ficheiro(10, 5);
    const std::vector<Marca> lidos{{11, 10}, {12, 11}};
    const struct {
        const char* o_que;
        Quebra_Log quebra;
        bool perdidos;
    } casos[] = {
        {"what a failed commit left after the next one", {false, false, 1, {}}, false},
        {"its first page, a sibling of the last one read", {false, false, 2, {{13, 11}}}, false},
        {"a sibling of the first", {false, false, 2, {{14, 10}}}, false},
        {"inside a commit", {true, false, 2, {}}, true},
        {"at a commit's first page", {false, true, 2, {}}, true},
        {"a child of the last one read", {false, false, 2, {{13, 12}}}, true},
        {"a child of one not read", {false, false, 2, {{14, 77}}}, true},
        // A cut's torn tail: the commit in flight alone, never shown done.
        {"the commit in flight, torn inside", {true, false, 1, {{13, 12}}}, false},
        {"the commit in flight, torn at its first page", {false, true, 1, {}}, false},
    };
    for (const auto& c : casos) {
        const Decisao d = decidir(f, log_de(lidos, c.quebra));
        EXPECT_EQ(d.veredicto, Veredicto::Continua) << c.o_que;
        EXPECT_EQ(d.perdidos, c.perdidos) << c.o_que;
    }
    // Nothing read before the break: the file's own mark is the last read.
    const Decisao d = decidir(f, log_de({}, Quebra_Log{false, false, 2, {{13, 10}}}));
    EXPECT_TRUE(d.veredicto == Veredicto::Nada && d.perdidos);
}

TEST(Continuidade, AJournalIsTakenWhenItRestoresTheFilesOwnState) {
    auto diario = [](std::optional<Marca> restaura, bool completo = true) {
        Leitura_Diario j;
        j.quente = j.cabecalho = true;
        j.pagina = 4096;
        j.restaura = restaura;
        j.completo = completo;
        j.imagens_nossas = 2;
        return j;
    };
    Leitura_Diario frio, alheio = diario(Marca{10, 5}), sem_cabeca = diario({}), lixo = diario({}),
                        pequeno = diario(Marca{10, 5});
    alheio.imagens_nossas = 0;
    alheio.imagens_alheias = 2;
    sem_cabeca.cabecalho = lixo.cabecalho = false;
    lixo.imagens_nossas = 0;
    pequeno.pagina = 1024;
    const struct {
        const char* o_que;
        Identidade f;
        Leitura_Diario j;
        Veredicto veredicto;
        bool dono_incerto;
    } casos[] = {
        {"wiped", ficheiro(10, 5), frio, Veredicto::Nada, false},
        {"the file's own state", ficheiro(10, 5), diario(Marca{10, 5}), Veredicto::Continua, false},
        {"its own, torn at its tail", ficheiro(10, 5), diario(Marca{10, 5}, false), Veredicto::Continua, false},
        {"its own, the first page written already", ficheiro(11, 10), diario(Marca{10, 5}), Veredicto::Continua,
         false},
        {"another state", ficheiro(10, 5), diario(Marca{9, 4}), Veredicto::Alheia, false},
        {"a state two commits back", ficheiro(12, 11), diario(Marca{10, 5}), Veredicto::Alheia, false},
        {"another game's key", ficheiro(10, 5), alheio, Veredicto::Alheia, false},
        {"its own, header damaged", ficheiro(10, 5), sem_cabeca, Veredicto::Danificada, false},
        {"no journal at all", ficheiro(10, 5), lixo, Veredicto::Alheia, false},
        {"another page size", ficheiro(10, 5), pequeno, Veredicto::Alheia, false},
        {"no first page in it", ficheiro(10, 5), diario({}), Veredicto::Continua, true},
        {"an earlier version's file", ficheiro(4, 0), diario(Marca{4, 0}), Veredicto::Continua, true},
    };
    for (const auto& c : casos) {
        const Decisao d = decidir(c.f, c.j);
        EXPECT_EQ(d.veredicto, c.veredicto) << c.o_que;
        EXPECT_EQ(d.cortada, d.veredicto == Veredicto::Continua && !c.j.completo) << c.o_que;
        if (d.veredicto == Veredicto::Continua) {
            EXPECT_EQ(d.dono_incerto, c.dono_incerto) << c.o_que;
        }
    }
}

// A game file's first page, whole or torn by a cut, tells its page size and
// marks under its own key only.
TEST(Continuidade, TheFirstPagesBytesTellTheFilesIdentity) {
    const std::string mestra = gv::teste::ler_bytes(GV_BASE_MESTRA);
    const auto marcas = [] {
        auto d = Database::abrir(GV_BASE_MESTRA, gv::LIGACAO_JOGO, Modo::So_Leitura);
        return Marca{d->valor("PRAGMA user_version").inteiro(), d->valor("PRAGMA application_id").inteiro()};
    }();
    const std::string senha = senha_da_ligacao(gv::LIGACAO_JOGO);
    const auto cifra = Cifra_Paginas::de(senha, reinterpret_cast<const unsigned char*>(mestra.data()));
    const auto outra = Cifra_Paginas::de(senha, reinterpret_cast<const unsigned char*>(std::string(16, 'x').data()));
    ASSERT_TRUE(cifra && outra);
    auto rasgada = [&](std::size_t de, std::size_t n) {
        std::string p = mestra.substr(0, 4096);
        p.replace(de, n, std::string(n, '\xA5'));
        return p;
    };
    const struct {
        const char* o_que;
        std::string inicio;
        std::uintmax_t tamanho;
        const Cifra_Paginas* chave;
        bool lida;
        std::vector<int> paginas;
    } casos[] = {
        {"whole", mestra.substr(0, 4096), 8192, &*cifra, true, {4096}},
        {"torn after its first sector", rasgada(1024, 512), 8192, &*cifra, true, {4096, 1024}},
        {"its first sector torn", rasgada(40, 16), 8192, &*cifra, false, {4096, 1024}},
        {"a length ending inside a page, as a cut leaves it", mestra.substr(0, 4096), 5120, &*cifra, true, {4096}},
        {"too short to tell", mestra.substr(0, 64), 8192, &*cifra, false, {4096, 1024}},
        {"under another key", mestra.substr(0, 4096), 8192, &*outra, false, {4096, 1024}},
        {"no key", mestra.substr(0, 4096), 8192, nullptr, false, {4096, 1024}},
    };
    for (const auto& c : casos) {
        const Identidade id = identidade(reinterpret_cast<const unsigned char*>(c.inicio.data()), c.inicio.size(),
                                         c.tamanho, c.chave);
        EXPECT_EQ(id.lida, c.lida) << c.o_que;
        EXPECT_EQ(id.paginas, c.paginas) << c.o_que;
        if (id.lida) {
            EXPECT_EQ(id.marca, marcas) << c.o_que;
        }
    }
}

// A log's header is one the engine reads only with a page size it takes.
TEST(Continuidade, ALogHeaderNamesAPageSizeTheEngineTakes) {
    auto grande = [](unsigned char* p, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (24 - 8 * i));
    };
    for (const auto& [campo, le] : {std::pair{4096u, true}, {65536u, true}, {1u, false}, {3000u, false}}) {
        unsigned char h[32] = {};
        grande(h, 0x377f0682u);
        grande(h + 4, 3007000u);
        grande(h + 8, campo);
        grande(h + 16, 0x1234u);
        // Its checksum, over 32-bit words in the order the magic names.
        std::uint32_t s0 = 0, s1 = 0;
        auto pequeno = [&](int i) { return std::uint32_t(h[i]) | std::uint32_t(h[i + 1]) << 8 | std::uint32_t(h[i + 2]) << 16 | std::uint32_t(h[i + 3]) << 24; };
        for (int i = 0; i < 24; i += 8) {
            s0 += pequeno(i) + s1;
            s1 += pequeno(i + 4) + s0;
        }
        grande(h + 24, s0);
        grande(h + 28, s1);
        const int fd = ::memfd_create("log", 0);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, h, sizeof h), static_cast<ssize_t>(sizeof h));
        EXPECT_EQ(ler_log(fd, nullptr, 4096).cabecalho, le) << campo;
        ::close(fd);
    }
}

} // namespace
