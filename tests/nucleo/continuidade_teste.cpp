// The rule that decides whether a log or journal continues a game file,
// from what the bytes tell alone.

#include <gtest/gtest.h>

#include "platform/db/continuidade.h"

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
        {"another state", ficheiro(10, 5), diario(Marca{9, 4}), Veredicto::Alheia, false},
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

} // namespace
