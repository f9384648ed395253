#pragma once
// How many threads the grid passes (slope, filters, conversion) use, and the one loop that
// shares rows among them. Results never depend on the count: every band is computed as it
// would be alone, and whatever is gathered over the bands is combined in row order.
#include <functional>
#include <string>

#include "core/common/Erros.h"

inline constexpr int kMaxThreads = 64;

// The text of --threads or of VANDORO_THREADS: a whole number from 1 to kMaxThreads, else
// EVandoro "O número de threads deve ser um inteiro de 1 a 64.".
int LeNumeroThreads(const std::string& texto);

// The count the passes use: the one set by DefineThreads, else VANDORO_THREADS, else the
// machine's processors (at most kMaxThreads). A bad VANDORO_THREADS raises as
// LeNumeroThreads, naming the variable.
int NumeroThreads();
// 0 goes back to the environment or the machine.
void DefineThreads(int n);

// How many bands ParaFaixas makes of 'linhas' rows for 'threads' threads.
int NumeroFaixas(int linhas, int threads);
// The first row of band k of n (k = n: linhas), as ParaFaixas cuts them.
int InicioFaixa(int linhas, int n, int k);
// Calls faixa(k, inicio, fim) for the consecutive bands k = 0, 1, ... of [0, linhas), each on
// a thread of its own (band 0 on the caller's, the only one that may talk to a progress
// receiver). The bands depend only on the arguments. Once all bands ended, the exception of
// the first band that raised one is raised again.
void ParaFaixas(int linhas, int threads, const std::function<void(int k, int inicio, int fim)>& faixa);
// Calls item(i) for every i in [0, n), the items shared out among 'threads' threads as they
// come free (items of very different cost still keep every thread busy). item(i) must touch
// nothing another item touches. Once all ended, the exception of the lowest item that raised
// one is raised again.
void ParaCada(int n, int threads, const std::function<void(int i)>& item);
