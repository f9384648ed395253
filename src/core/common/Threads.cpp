#include "core/common/Threads.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <thread>
#include <vector>

namespace {
std::atomic<int> definido{0};

const char* const kMensagem = "O número de threads deve ser um inteiro de 1 a 64.";
}  // namespace

int LeNumeroThreads(const std::string& texto) {
    size_t i = 0;
    while (i < texto.size() && texto[i] == ' ') ++i;
    size_t fim = texto.size();
    while (fim > i && texto[fim - 1] == ' ') --fim;
    if (i == fim || fim - i > 3) throw EVandoro(kMensagem);
    int n = 0;
    for (size_t k = i; k < fim; ++k) {
        if (texto[k] < '0' || texto[k] > '9') throw EVandoro(kMensagem);
        n = n * 10 + (texto[k] - '0');
    }
    if (n < 1 || n > kMaxThreads) throw EVandoro(kMensagem);
    return n;
}

int NumeroThreads() {
    if (const int n = definido.load(); n > 0) return n;
    if (const char* v = std::getenv("VANDORO_THREADS"); v && *v) {
        try {
            return LeNumeroThreads(v);
        } catch (const EVandoro& e) {
            throw EVandoro(std::string("VANDORO_THREADS: ") + e.what());
        }
    }
    const unsigned h = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(h), 1, kMaxThreads);
}

void DefineThreads(int n) { definido.store(std::clamp(n, 0, kMaxThreads)); }

int NumeroFaixas(int linhas, int threads) {
    // A thread costs more to start than a band of a few dozen rows saves.
    return std::clamp(std::min(threads, linhas / 64), 1, kMaxThreads);
}

int InicioFaixa(int linhas, int n, int k) { return static_cast<int>(static_cast<long long>(linhas) * k / n); }

void ParaFaixas(int linhas, int threads, const std::function<void(int, int, int)>& faixa) {
    if (linhas <= 0) return;
    const int n = NumeroFaixas(linhas, threads);
    if (n == 1) {
        faixa(0, 0, linhas);
        return;
    }
    std::vector<std::exception_ptr> erros(static_cast<size_t>(n));
    auto roda = [&](int k) {
        try {
            faixa(k, InicioFaixa(linhas, n, k), InicioFaixa(linhas, n, k + 1));
        } catch (...) {
            erros[static_cast<size_t>(k)] = std::current_exception();
        }
    };
    std::vector<std::thread> t;
    t.reserve(static_cast<size_t>(n - 1));
    try {
        for (int k = 1; k < n; ++k) t.emplace_back(roda, k);
    } catch (...) {
        for (auto& x : t) x.join();
        throw;
    }
    roda(0);
    for (auto& x : t) x.join();
    for (auto& e : erros)
        if (e) std::rethrow_exception(e);
}

void ParaCada(int n, int threads, const std::function<void(int)>& item) {
    if (n <= 0) return;
    const int nt = std::clamp(std::min(threads, n), 1, kMaxThreads);
    std::atomic<int> proximo{0};
    std::vector<std::exception_ptr> erros(static_cast<size_t>(n));
    auto roda = [&] {
        for (int i = proximo++; i < n; i = proximo++) {
            try {
                item(i);
            } catch (...) {
                erros[static_cast<size_t>(i)] = std::current_exception();
            }
        }
    };
    std::vector<std::thread> t;
    t.reserve(static_cast<size_t>(nt - 1));
    try {
        for (int k = 1; k < nt; ++k) t.emplace_back(roda);
    } catch (...) {
        proximo = n;
        for (auto& x : t) x.join();
        throw;
    }
    roda();
    for (auto& x : t) x.join();
    for (auto& e : erros)
        if (e) std::rethrow_exception(e);
}
