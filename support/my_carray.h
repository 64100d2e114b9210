// my_carray.h holds MyCArray, the one growable contiguous container of
// vetrix, and its instances IntArray (the solver's int tables) and IntArrays
// (an array of IntArray: the watch lists).
//
// Public fields are read directly by the solver's hot loops; there is no
// bounds checking. Elements are relocated on growth by a byte copy, and every
// element type used with it (int, unsigned int, long long, int*, the code
// states, the cube records and MyCArray itself) has the all-zero-bytes
// pattern as its empty / zero state. That lets the first allocation come
// from calloc: large capacities (the cube arena, the spare cube slots) stay
// untouched zero pages until the solver writes them.
#pragma once

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "support/uponeub.h"

namespace vetrix {

template <class TYPE, class ARG_TYPE> class MyCArray {
  public:
    TYPE *data = nullptr; // element storage, null when nothing is allocated
    int size = 0;         // elements in use: data[0 .. size-1]
    int max_size = 0;     // slots allocated at data
    int grow_by = 0;      // growth step; 0 selects the automatic step

    MyCArray() = default;
    MyCArray(const MyCArray &) = delete;
    MyCArray &operator=(const MyCArray &) = delete;
    ~MyCArray() {
        if (data) {
            destroy(0, size);
            std::free(data);
        }
    }

    int GetSize() const { return size; }
    TYPE &operator[](int i) { return data[i]; }
    const TYPE &operator[](int i) const { return data[i]; }

    void SetSize(int new_size, int new_grow_by) {
        if (new_size < -1)
            fatal("wrong array size\n");
        if (new_grow_by != -1)
            grow_by = new_grow_by;
        if (new_size == -1) {
            if (data) {
                destroy(0, size);
                std::free(data);
                data = nullptr;
            }
            max_size = 0;
            size = 0;
            return;
        }
        if (new_size == 0) {
            if (data)
                destroy(0, size);
            size = 0;
            return;
        }
        if (!data) {
            // calloc gives zeroed slots, which are constructed elements here.
            data = static_cast<TYPE *>(std::calloc(static_cast<size_t>(new_size), sizeof(TYPE)));
            if (!data)
                out_of_memory();
            max_size = size = new_size;
            return;
        }
        if (new_size <= max_size) {
            if (new_size > size)
                zero_fill(size, new_size);
            else if (new_size < size)
                destroy(new_size, size);
            size = new_size;
            return;
        }
        int step = grow_by;
        if (step == 0) {
            step = size / 8;
            if (step < 4)
                step = 4;
            else if (step > 1024)
                step = 1024;
        }
        int new_max = max_size + step;
        if (new_size > new_max)
            new_max = new_size;
        // Relocation is a byte move: ownership of nested storage goes with
        // the bytes, so the old slots are freed without destroying them.
        TYPE *grown = static_cast<TYPE *>(std::realloc(static_cast<void *>(data),
                                                       static_cast<size_t>(new_max) * sizeof(TYPE)));
        if (!grown)
            out_of_memory();
        data = grown;
        zero_fill(size, new_size);
        size = new_size;
        max_size = new_max;
    }

    void SetAtGrow(int index, ARG_TYPE value) {
        if (index >= size)
            SetSize(index + 1, -1);
        data[index] = value;
    }

    // SetAtGrow(size, value) with the common no-growth case inlined.
    void Append(const TYPE &value) {
        if (size < max_size) {
            data[size++] = value;
        } else {
            SetSize(size + 1, -1);
            data[size - 1] = value;
        }
    }

    void DecreaseSize() { --size; }

    // Gives the slots beyond the elements in use back to the allocator.
    void FreeExtra() {
        if (size == max_size)
            return;
        if (size == 0) {
            std::free(data);
            data = nullptr;
            max_size = 0;
            return;
        }
        if (TYPE *kept = static_cast<TYPE *>(std::realloc(static_cast<void *>(data),
                                                          static_cast<size_t>(size) * sizeof(TYPE)))) {
            data = kept;
            max_size = size;
        }
    }

  private:
    void zero_fill(int from, int to) {
        std::memset(static_cast<void *>(data + from), 0,
                    static_cast<size_t>(to - from) * sizeof(TYPE));
    }
    void destroy(int from, int to) {
        if constexpr (!std::is_trivially_destructible<TYPE>::value)
            for (int i = from; i < to; ++i)
                data[i].~TYPE();
    }
};

// An array of integer arrays: the watch lists.
using IntArray = MyCArray<int, int &>;
using IntArrays = MyCArray<IntArray, IntArray &>;

} // namespace vetrix
