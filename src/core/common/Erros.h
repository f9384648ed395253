#pragma once
#include <stdexcept>
#include <string>

// Every error of the program carries its Portuguese message in what().
class EVandoro : public std::runtime_error {
public:
    explicit EVandoro(const std::string& msg) : std::runtime_error(msg) {}
};

// Text that is not a number where a number is required.
class EConversao : public EVandoro {
public:
    using EVandoro::EVandoro;
};

// Division by zero, logarithm of a non-positive number, overflow, non-finite result.
class EAritmetico : public EVandoro {
public:
    using EVandoro::EVandoro;
};
