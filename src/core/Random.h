#pragma once

#include <random>

/// The program's one source of random numbers.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    /// A uniform whole number from 0 to n - 1; 0 when n is 0 or less.
    virtual int Random(int n) = 0;
};

class SeededRandom : public RandomSource
{
public:
    explicit SeededRandom(unsigned seed) : m_engine(seed) {}
    int Random(int n) override
    {
        if (n <= 0)
            return 0;
        return std::uniform_int_distribution<int>(0, n - 1)(m_engine);
    }

private:
    std::mt19937 m_engine;
};
