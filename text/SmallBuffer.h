#pragma once
// A growable array of trivially copyable values that keeps its first N values in place and moves to
// the heap only when it outgrows them, so the usual short case allocates nothing.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <type_traits>

template <class T, std::size_t N>
class SmallBuffer {
    static_assert(std::is_trivially_copyable<T>::value, "SmallBuffer holds plain values");

public:
    SmallBuffer() = default;
    SmallBuffer(const SmallBuffer&) = delete;
    SmallBuffer& operator=(const SmallBuffer&) = delete;

    std::size_t Size() const { return FSize; }
    T& operator[](std::size_t index) { return FData[index]; }
    const T& operator[](std::size_t index) const { return FData[index]; }
    T& Back() { return FData[FSize - 1]; }
    void Clear() { FSize = 0; }
    void PushBack(const T& value)
    {
        if (FSize == FCapacity)
            Grow();
        FData[FSize++] = value;
    }

private:
    void Grow()
    {
        const std::size_t capacity = FCapacity * 2;
        std::unique_ptr<T[]> heap(new T[capacity]);
        std::copy(FData, FData + FSize, heap.get());
        FHeap = std::move(heap);
        FData = FHeap.get();
        FCapacity = capacity;
    }

    T FLocal[N];
    std::unique_ptr<T[]> FHeap;
    T* FData = FLocal;
    std::size_t FSize = 0;
    std::size_t FCapacity = N;
};
