// Runs a fuzz entry point without libFuzzer: on every seed file of a folder, then on a fixed
// number of mutations of them drawn from a fixed-seed generator, so every run tries the same
// damaged inputs. The sanitizer build runs it as a test.
//   fuzz_<reader>_replay SEED_FOLDER [MUTATIONS]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

// splitmix64: the same numbers on every platform and library.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n - 1; 0 for n = 0.
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }

  private:
    std::uint64_t state_;
};

// Bytes the readers give a meaning to: ends of lines and fields, code lengths, the rights
// characters, bytes at the edges of signed and unsigned ranges.
constexpr std::uint8_t Interesting[] = {0x00, 0x01, 0x02, 0x03, 0x09, 0x0A, 0x0D, 0x1A, 0x20,
                                        0x30, 0x34, 0x3F, 0x3D, 0x5B, 0x5D, 0x7F, 0x80, 0xFF,
                                        0x08, 0x0A, 0xE1, 0x04, 0xEF, 0xBB, 0xBF};

void mutate(Bytes& b, const std::vector<Bytes>& seeds, Random& r) {
    switch (r.below(8)) {
    case 0: // flip one bit
        if (!b.empty()) b[r.below(b.size())] ^= static_cast<std::uint8_t>(1u << r.below(8));
        break;
    case 1: // set a byte to one that means something
        if (!b.empty()) b[r.below(b.size())] = Interesting[r.below(std::size(Interesting))];
        break;
    case 2: // a random byte anywhere
        if (!b.empty()) b[r.below(b.size())] = static_cast<std::uint8_t>(r.next());
        break;
    case 3: { // insert a few bytes
        const std::size_t at = r.below(b.size() + 1);
        const std::size_t n = 1 + r.below(8);
        for (std::size_t i = 0; i < n; ++i)
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(at),
                     Interesting[r.below(std::size(Interesting))]);
        break;
    }
    case 4: { // delete a range
        if (b.empty()) break;
        const std::size_t at = r.below(b.size());
        const std::size_t n = 1 + r.below(std::min<std::size_t>(b.size() - at, 64));
        b.erase(b.begin() + static_cast<std::ptrdiff_t>(at),
                b.begin() + static_cast<std::ptrdiff_t>(at + n));
        break;
    }
    case 5: // cut the file short
        b.resize(r.below(b.size() + 1));
        break;
    case 6: { // repeat a piece of it
        if (b.empty()) break;
        const std::size_t at = r.below(b.size());
        const std::size_t n = 1 + r.below(std::min<std::size_t>(b.size() - at, 256));
        const Bytes piece(b.begin() + static_cast<std::ptrdiff_t>(at),
                          b.begin() + static_cast<std::ptrdiff_t>(at + n));
        b.insert(b.begin() + static_cast<std::ptrdiff_t>(r.below(b.size() + 1)), piece.begin(),
                 piece.end());
        break;
    }
    default: { // splice the head of this one with the tail of another seed
        const Bytes& other = seeds[r.below(seeds.size())];
        const std::size_t cut = r.below(b.size() + 1);
        const std::size_t from = r.below(other.size() + 1);
        b.resize(cut);
        b.insert(b.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
        break;
    }
    }
}

void run(const Bytes& input) {
    // A copy of exactly the input's size, so the address sanitizer sees any read past its end.
    const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[input.size() + 1]);
    std::copy(input.begin(), input.end(), copy.get());
    LLVMFuzzerTestOneInput(copy.get(), input.size());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER [MUTATIONS]\n", argv[0]);
        return 2;
    }
    const long mutations = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 3000;
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        if (entry.is_regular_file()) paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<Bytes> seeds{Bytes{}};
    for (const auto& p : paths) {
        std::ifstream in(p, std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (seeds.size() == 1) {
        std::fprintf(stderr, "no seed files in %s\n", argv[1]);
        return 2;
    }
    for (const Bytes& seed : seeds)
        run(seed);
    Random random(0x5EED0F2A11CE5ull);
    for (long i = 0; i < mutations; ++i) {
        Bytes input = seeds[random.below(seeds.size())];
        const std::size_t steps = 1 + random.below(4);
        for (std::size_t s = 0; s < steps; ++s)
            mutate(input, seeds, random);
        run(input);
    }
    std::printf("%zu seeds and %ld mutations read without a fault\n", seeds.size(), mutations);
    return 0;
}
