// qnrtool run as the instructor runs it, on the data tree the build lays out
// beside it: the answer keys come from the same catalogs the students see.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ToolResult {
    int code = -1;
    std::string out;
};

class BundledTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qnr-bundled-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs qnrtool in the test's own folder, standard error folded into the output.
    ToolResult Qnrtool(const std::string& args) const {
        const std::string command = "cd '" + dir_.string() + "' && '" QNRTOOL "' " + args + " 2>&1";
        ToolResult run;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return run;
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
        const int status = ::pclose(pipe);
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    std::string Slurp(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static int Value(const std::string& out, const std::string& key) {
        const std::string tag = key + " = ";
        const auto at = out.find(tag);
        return at == std::string::npos ? -1 : std::stoi(out.substr(at + tag.size()));
    }

    fs::path dir_;
};

// M87 and its compact companion, from the starter hot list.
const std::string M87 = "--ra-hours 12.51373 --dec-deg 12.39111";

TEST_F(BundledTreeTest, TheLaidOutTreePassesItsOwnCheck) {
    const ToolResult run = Qnrtool("datatree check");
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_EQ(run.out.find("PROBLEM"), std::string::npos) << run.out;
}

TEST_F(BundledTreeTest, CcdImageOfAHotListTargetIsAFitsFileWithItsKey) {
    const std::string args = M87 + " --date 2002-04-14 --time 04:00:00 --exposure-s 30 --seed 11";
    const ToolResult run = Qnrtool("ccd " + args + " -o m87.fit --key m87.csv");
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_GT(Value(run.out, "objects"), 0) << run.out;

    const std::string fits = Slurp("m87.fit");
    ASSERT_GE(fits.size(), 2880u);
    EXPECT_EQ(fits.size() % 2880, 0u) << "FITS files are whole 2880-byte blocks";
    EXPECT_EQ(fits.rfind("SIMPLE  =", 0), 0u);

    const std::string key = Slurp("m87.csv");
    EXPECT_EQ(key.rfind("name,kind,x,y,mag\r\n", 0), 0u) << key;
    EXPECT_NE(key.find(",0,"), std::string::npos) << "the chip holds catalog stars:\n" << key;

    // The same seed gives the same image: a key an instructor can hand out.
    ASSERT_EQ(Qnrtool("ccd " + args + " -o again.fit").code, 0);
    EXPECT_TRUE(Slurp("again.fit") == fits);
}

TEST_F(BundledTreeTest, FieldKeyListsTheGalaxyAtTheCentre) {
    const ToolResult run = Qnrtool("field " + M87 + " --size-arcmin 10 --json");
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("\"kind\": 1"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("4486"), std::string::npos) << run.out;
}

TEST_F(BundledTreeTest, AsteroidListOfTheExerciseNightHoldsTheExercisesAsteroid) {
    const ToolResult run = Qnrtool("asteroids --date 2002-04-14");
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("Quenara"), std::string::npos) << run.out;
}

TEST_F(BundledTreeTest, FieldOutsideTheExerciseRegionsIsRefused) {
    const ToolResult run = Qnrtool("ccd --ra-hours 3 --dec-deg -60 --date 2002-04-14 --time 04:00:00 --exposure-s 1 -o x.fit");
    EXPECT_EQ(run.code, 1) << run.out;
    EXPECT_FALSE(fs::exists(dir_ / "x.fit"));
}

}  // namespace
