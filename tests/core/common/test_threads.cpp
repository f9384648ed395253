#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "core/common/Threads.h"

namespace {

const std::string kMensagem = "O número de threads deve ser um inteiro de 1 a 64.";

// Sets VANDORO_THREADS (or clears it) and the count set by hand for one test.
class AmbienteThreads {
public:
    explicit AmbienteThreads(const char* valor) {
        if (const char* v = std::getenv("VANDORO_THREADS")) antigo_ = v, tinha_ = true;
        if (valor) setenv("VANDORO_THREADS", valor, 1);
        else unsetenv("VANDORO_THREADS");
        DefineThreads(0);
    }
    ~AmbienteThreads() {
        if (tinha_) setenv("VANDORO_THREADS", antigo_.c_str(), 1);
        else unsetenv("VANDORO_THREADS");
        DefineThreads(0);
    }

private:
    std::string antigo_;
    bool tinha_ = false;
};

TEST(Threads, LeNumeroAceitaDe1a64) {
    EXPECT_EQ(LeNumeroThreads("1"), 1);
    EXPECT_EQ(LeNumeroThreads("2"), 2);
    EXPECT_EQ(LeNumeroThreads(" 8 "), 8);
    EXPECT_EQ(LeNumeroThreads("064"), 64);
    EXPECT_EQ(LeNumeroThreads("64"), 64);
}

TEST(Threads, LeNumeroRecusaOResto) {
    for (const char* t : {"0", "65", "100", "abc", "", " ", "-1", "+2", "2.5", "2,0", "1e1", "3x", "99999999999"})
        EXPECT_ERRO(EVandoro, kMensagem, LeNumeroThreads(t)) << "'" << t << "'";
}

TEST(Threads, AMaquinaQuandoNadaFoiDito) {
    AmbienteThreads amb(nullptr);
    const int esperado = std::max(1, std::min<int>(static_cast<int>(std::thread::hardware_concurrency()), 64));
    EXPECT_EQ(NumeroThreads(), esperado);
}

TEST(Threads, AVariavelDeAmbienteEADefinidaAMao) {
    AmbienteThreads amb("3");
    EXPECT_EQ(NumeroThreads(), 3);
    DefineThreads(5);
    EXPECT_EQ(NumeroThreads(), 5);  // --threads wins over the environment
    DefineThreads(0);
    EXPECT_EQ(NumeroThreads(), 3);
}

TEST(Threads, VariavelDeAmbienteInvalidaDizQualE) {
    AmbienteThreads amb("zero");
    EXPECT_ERRO(EVandoro, "VANDORO_THREADS: " + kMensagem, NumeroThreads());
    DefineThreads(2);
    EXPECT_EQ(NumeroThreads(), 2);
}

TEST(Threads, FaixasCobremAsLinhasUmaVezEmOrdem) {
    for (int linhas : {1, 63, 64, 128, 129, 1000, 4001}) {
        for (int threads : {1, 2, 3, 7}) {
            const int nf = NumeroFaixas(linhas, threads);
            EXPECT_GE(nf, 1);
            EXPECT_LE(nf, threads);
            std::vector<std::atomic<int>> vezes(static_cast<size_t>(linhas));
            std::vector<std::pair<int, int>> faixas(static_cast<size_t>(nf), {-1, -1});
            ParaFaixas(linhas, threads, [&](int k, int ini, int fim) {
                faixas[static_cast<size_t>(k)] = {ini, fim};
                for (int r = ini; r < fim; ++r) ++vezes[static_cast<size_t>(r)];
            });
            for (int r = 0; r < linhas; ++r) ASSERT_EQ(vezes[static_cast<size_t>(r)], 1) << linhas << " " << r;
            EXPECT_EQ(faixas.front().first, 0);
            EXPECT_EQ(faixas.back().second, linhas);
            for (size_t k = 1; k < faixas.size(); ++k) EXPECT_EQ(faixas[k].first, faixas[k - 1].second);
        }
    }
    EXPECT_EQ(NumeroFaixas(1000, 2), 2);
    EXPECT_EQ(NumeroFaixas(100, 2), 1);  // too few rows to be worth a thread
}

TEST(Threads, OErroDaPrimeiraFaixaQueFalhouVolta) {
    std::atomic<int> terminadas{0};
    try {
        ParaFaixas(1000, 4, [&](int k, int, int) {
            ++terminadas;
            if (k >= 2) throw std::runtime_error("faixa " + std::to_string(k));
        });
        FAIL() << "não lançou";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "faixa 2");
    }
    EXPECT_EQ(terminadas, 4);  // every band ran to its end before the error came back
}

// Items of very uneven cost: each runs once, on as many threads as asked, and the error of
// the lowest failing item comes back after every item ran.
TEST(Threads, CadaItemUmaVezEOErroDoMenorVolta) {
    for (int threads : {1, 2, 5}) {
        std::vector<std::atomic<int>> vezes(300);
        std::mutex m;
        std::set<std::thread::id> quem;
        ParaCada(300, threads, [&](int i) {
            ++vezes[static_cast<size_t>(i)];
            if (i % 50 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::lock_guard<std::mutex> g(m);
            quem.insert(std::this_thread::get_id());
        });
        for (const auto& v : vezes) ASSERT_EQ(v, 1);
        EXPECT_LE(quem.size(), size_t(threads));
        if (threads > 1) {
            EXPECT_GT(quem.size(), 1u);
        }
    }
    std::atomic<int> feitos{0};
    try {
        ParaCada(100, 3, [&](int i) {
            ++feitos;
            if (i == 70 || i == 40) throw std::runtime_error("item " + std::to_string(i));
        });
        FAIL() << "não lançou";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "item 40");
    }
    EXPECT_EQ(feitos, 100);
    ParaCada(0, 2, [](int) { FAIL(); });
}

}  // namespace
