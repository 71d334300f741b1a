#include <chrono>
#include <csignal>
#include <new>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "model/child_import.h"

namespace rv {

namespace {

ImportLimits quick() {
    ImportLimits limits;
    limits.seconds = 1;
    limits.memoryBytes = std::uint64_t(256) << 20;
    return limits;
}

std::string reasonOf(void (*work)(ByteSink&)) { return runInChild(work, quick()).reason; }

TEST(ChildImport, AWellFormedResultArrives) {
    const ChildResult r = runInChild(
        [](ByteSink& sink) {
            ImportedModel m;
            m.materials.emplace_back();
            ImportedMesh mesh;
            mesh.vertices.assign(3, ImportedVertex{});
            mesh.indices = {0, 1, 2};
            m.meshes.push_back(mesh);
            writeImportedModel(sink, m);
        },
        quick());
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(r.model.meshes.at(0).indices.size(), 3u);
}

struct Misbehaviour {
    const char* name;
    void (*work)(ByteSink&);
    const char* reason;
};

class ChildMisbehaves : public ::testing::TestWithParam<Misbehaviour> {};

TEST_P(ChildMisbehaves, GivesOneReasonWithinTheTimeCap) {
    const auto start = std::chrono::steady_clock::now();
    const std::string reason = reasonOf(GetParam().work);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_NE(reason.find(GetParam().reason), std::string::npos) << reason;
    EXPECT_EQ(reason.find('\n'), std::string::npos);
    // The cap plus the parent's grace and some slack for a loaded machine.
    EXPECT_LT(seconds, quick().seconds + 2);
}

void endlessZeros(ByteSink& sink) {
    const char header[8] = {'R', 'V', 'M', 'S', 0, 0, 0, 0};
    sink.write(header, 8);
    // Zero images, materials and meshes, then never the end mark.
    const std::vector<char> zeros(1 << 16);
    for (;;) sink.write(zeros.data(), zeros.size());
}

const Misbehaviour misbehaviours[] = {
    {"Crashes", [](ByteSink&) { std::raise(SIGSEGV); }, "the importer crashed (signal 11"},
    {"Aborts", [](ByteSink&) { std::abort(); }, "the importer crashed (signal 6"},
    {"Hangs", [](ByteSink&) { for (;;) pause(); }, "the import took longer than 1 s"},
    {"Spins", [](ByteSink&) { for (;;) asm volatile(""); }, "the import took longer than 1 s"},
    {"ThrowsBadAlloc", [](ByteSink&) { throw std::bad_alloc(); }, "out of memory (the import may use 256 MiB)"},
    {"ExitsSilently", [](ByteSink&) {}, "the importer sent a malformed result: the stream ends inside stream header"},
    {"SendsGarbage", [](ByteSink& s) { s.write("garbage!", 8); }, "the importer sent a malformed result: no stream header"},
    {"SendsEndlessly", endlessZeros, "the importer sent a malformed result: no end mark"},
    {"ReportsFailure", [](ByteSink& s) { writeImportFailure(s, "unknown file format"); }, "unknown file format"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ChildMisbehaves, ::testing::ValuesIn(misbehaviours),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChildImport, RunawayAllocationEndsAtTheMemoryCap) {
    ImportLimits limits;
    limits.memoryBytes = std::uint64_t(64) << 20;
    const ChildResult r = runInChild(
        [](ByteSink&) {
            std::vector<std::vector<char>> hoard;
            for (;;) {
                hoard.emplace_back(std::size_t(4) << 20, 'x');
                // Keeps the compiler from eliding the allocations.
                asm volatile("" : : "r"(hoard.back().data()) : "memory");
            }
        },
        limits);
    EXPECT_EQ(r.reason, "out of memory (the import may use 64 MiB)");
}

} // namespace

} // namespace rv
