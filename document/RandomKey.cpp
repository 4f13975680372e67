#include "RandomKey.h"

#include <chrono>
#include <exception>
#include <random>

uint64_t NewRandomKey()
{
    try
    {
        std::random_device device;
        return static_cast<uint64_t>(device()) << 32 ^ device();
    }
    catch (const std::exception&)
    {
        return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
}
