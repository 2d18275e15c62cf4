// The user's files: bounded reads, and writes that replace a regular file
// whole or not at all but write into devices and FIFOs without replacing them,
// at once or piece by piece.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "files/Files.h"

namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("zor_files_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Path(const std::string& name) const { return (folder / name).string(); }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    int Entries() const {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
        return count;
    }

    fs::path folder;
};

TEST_F(FilesTest, ReadsStopAtTheirLimit) {
    std::ofstream(Path("four")) << "abcd";
    fs::create_directories(Path("dir"));
    struct Case {
        std::string path;
        size_t limit;
        const char* expected;  // the bytes, or the message naming "F"
    };
    const Case cases[] = {
        {Path("four"), 4, "abcd"},
        {Path("four"), 3, "F is larger than 3 bytes"},
        {Path("missing"), 10, "cannot read F: No such file or directory"},
        {Path("dir"), 10, "cannot read F: Is a directory"},
        // Endless streams end at the limit instead of filling memory.
        {"/dev/zero", 100000, "F is larger than 100000 bytes"},
        {"/dev/null", 10, ""},
    };
    for (const Case& c : cases) {
        files::ReadError error;
        const std::optional<std::string> bytes = files::ReadFile(c.path, c.limit, error);
        EXPECT_EQ(bytes ? *bytes : error.Message("F"), c.expected) << c.path;
    }
}

TEST_F(FilesTest, AnEndlessFifoEndsAtTheLimit) {
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    // The writer learns that the reader has gone from a failed write, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    std::thread writer([this] {
        std::ofstream out(Path("pipe"), std::ios::binary);
        const std::string block(4096, 'x');
        while (out.write(block.data(), block.size())) {
        }
    });
    files::ReadError error;
    EXPECT_FALSE(files::ReadFile(Path("pipe"), 50000, error));
    EXPECT_EQ(error.kind, files::ReadError::Kind::kTooLarge);
    // The reader is gone: the writer's next write fails and it stops.
    writer.join();
}

TEST_F(FilesTest, ARegularFileIsReplacedWholeKeepingItsModeAndLinks) {
    std::ofstream(Path("old.bin")) << std::string(10000, 'x');
    ::chmod(Path("old.bin").c_str(), 0640);
    fs::create_symlink("old.bin", Path("link.bin"));
    std::string error;
    ASSERT_TRUE(files::WriteFile(Path("link.bin"), "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(Path("link.bin")));
    EXPECT_EQ(Contents(Path("old.bin")), "new");
    EXPECT_EQ(fs::status(Path("old.bin")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(), 2) << "a temporary file was left behind";
}

TEST_F(FilesTest, SpecialFilesAreWrittenIntoNeverReplaced) {
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = Contents(Path("pipe")); });
    std::string error;
    EXPECT_TRUE(files::WriteFile(Path("pipe"), "through the pipe", error)) << error;
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(Path("pipe")));

    EXPECT_TRUE(files::WriteFile("/dev/null", "gone", error)) << error;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    // A device that refuses the bytes is an error, and still a device.
    EXPECT_FALSE(files::WriteFile("/dev/full", "no room", error));
    EXPECT_EQ(error, "cannot write /dev/full: No space left on device");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(FilesTest, ASetIsWrittenWholeOrNotAtAll) {
    std::ofstream(Path("image.bin")) << "old image";
    fs::create_directories(Path("taken"));
    struct Case {
        std::string second;
        const char* error;
    };
    const Case cases[] = {
        {Path("nodir/x.lst"), "cannot write F/nodir/x.lst: No such file or directory"},
        {Path("taken"), "cannot write F/taken: Is a directory"},
        {"/dev/full", "cannot write /dev/full: No space left on device"},
    };
    for (const Case& c : cases) {
        files::OutputFiles outputs;
        outputs.Add(Path("image.bin"), "new image");
        outputs.Add(Path("fresh.bin"), "fresh");
        outputs.Add(c.second, "listing");
        std::string error;
        EXPECT_FALSE(outputs.Commit(error)) << c.second;
        std::string expected = c.error;
        if (expected.find("F/") != std::string::npos)
            expected.replace(expected.find("F/"), 1, folder.string());
        EXPECT_EQ(error, expected);
        EXPECT_EQ(Contents(Path("image.bin")), "old image") << c.second;
        EXPECT_FALSE(fs::exists(Path("fresh.bin"))) << c.second;
        EXPECT_EQ(Entries(), 2) << "leftovers after " << c.second;
    }
    files::OutputFiles outputs;
    outputs.Add(Path("image.bin"), "new image");
    outputs.Add(Path("fresh.bin"), "fresh");
    std::string error;
    ASSERT_TRUE(outputs.Commit(error)) << error;
    EXPECT_EQ(Contents(Path("image.bin")) + Contents(Path("fresh.bin")), "new imagefresh");
}

// Files written piece by piece (GIF recordings): the old file stays whole
// until Commit, and a file dropped unfinished leaves nothing.
TEST_F(FilesTest, ARegularFileIsReplacedOnlyWhenCommitted) {
    struct Row {
        const char* what;
        const char* old;  // nullptr: no file yet
        bool commit;
        const char* after;  // nullptr: no file
    };
    const Row rows[] = {
        {"a new file", nullptr, true, "piece one, piece two"},
        {"an old file replaced", "old", true, "piece one, piece two"},
        {"an old file kept when dropped", "old", false, "old"},
        {"nothing made when dropped", nullptr, false, nullptr},
    };
    for (const Row& row : rows) {
        const std::string path = Path("out.gif");
        fs::remove(path);
        if (row.old) std::ofstream(path) << row.old;
        if (row.old) fs::permissions(path, fs::perms(0640));
        {
            files::StreamedFile file;
            std::string error;
            ASSERT_TRUE(file.Open(path, error)) << row.what << ": " << error;
            EXPECT_TRUE(file.Write("piece one, "));
            EXPECT_TRUE(file.Write("piece two"));
            // Until the end the old file is there as it was.
            EXPECT_EQ(fs::exists(path), row.old != nullptr) << row.what;
            if (row.old) {
                EXPECT_EQ(Contents(path), row.old) << row.what;
            }
            if (row.commit) {
                EXPECT_TRUE(file.Commit(error)) << row.what << ": " << error;
            }
        }
        EXPECT_EQ(fs::exists(path), row.after != nullptr) << row.what;
        if (row.after) {
            EXPECT_EQ(Contents(path), row.after) << row.what;
        }
        if (row.old && row.commit) {
            EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0640)) << row.what;
        }
        EXPECT_EQ(Entries(), row.after ? 1 : 0) << row.what << ": a temporary file is left";
    }
}

TEST_F(FilesTest, ASymbolicLinkKeepsPointingWhereItDid) {
    std::ofstream(Path("target.gif")) << "old";
    fs::create_symlink("target.gif", Path("link.gif"));
    files::StreamedFile file;
    std::string error;
    ASSERT_TRUE(file.Open(Path("link.gif"), error));
    file.Write("new");
    ASSERT_TRUE(file.Commit(error)) << error;
    EXPECT_TRUE(fs::is_symlink(Path("link.gif")));
    EXPECT_EQ(Contents(Path("target.gif")), "new");
}

}  // namespace
