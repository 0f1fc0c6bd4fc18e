// The single-instance lock across processes: a second process is refused and
// signals the owner to come forward; after release the lock can be taken.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "platform/Backend.h"
#include "platform/NamedLock.h"

namespace {

class NamedLock : public ::testing::Test {
protected:
    void SetUp() override {
        // A private runtime folder, so that tests never meet a real copy.
        dir = std::string(KA_BINARY_DIR) + "/namedlock-" + std::to_string(getpid());
        ASSERT_EQ(system(("mkdir -p '" + dir + "'").c_str()), 0);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        name = "kaサンプル:KaMutex/../x";
        plat::detail::TakeRaiseRequest();
    }
    void TearDown() override {
        plat::ReleaseNamedLock();
        unsetenv("XDG_RUNTIME_DIR");
        (void)!system(("rm -rf '" + dir + "'").c_str());
    }

    // Runs AcquireNamedLock in a child process; returns its answer.
    bool AcquireInChild() {
        pid_t pid = fork();
        if (pid == 0) _exit(plat::AcquireNamedLock(name) ? 1 : 0);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
        return WEXITSTATUS(status) == 1;
    }

    bool WaitForRaiseRequest() {
        for (int i = 0; i < 200; ++i) {
            if (plat::detail::TakeRaiseRequest()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    std::string dir;
    std::string name;
};

TEST_F(NamedLock, SecondProcessIsRefusedAndAsksTheOwnerForward) {
    ASSERT_TRUE(plat::AcquireNamedLock(name));
    EXPECT_FALSE(AcquireInChild());
    EXPECT_TRUE(WaitForRaiseRequest());
    EXPECT_FALSE(plat::detail::TakeRaiseRequest()) << "one request, taken once";

    plat::ReleaseNamedLock();
    EXPECT_TRUE(AcquireInChild()) << "a released lock is free again";
    EXPECT_FALSE(plat::detail::TakeRaiseRequest());
}

TEST_F(NamedLock, LockFileStaysInsideTheRuntimeFolderAndHoldsThePid) {
    ASSERT_TRUE(plat::AcquireNamedLock(name));
    // Separators and dots of the name cannot lead out of the folder.
    std::ifstream in(dir + "/kaサンプル_KaMutex____x.lock");
    ASSERT_TRUE(in.good());
    long pid = 0;
    in >> pid;
    EXPECT_EQ(pid, getpid());
}

TEST_F(NamedLock, DifferentNamesDoNotCollide) {
    ASSERT_TRUE(plat::AcquireNamedLock(name));
    name = "another";
    EXPECT_TRUE(AcquireInChild());
}

TEST_F(NamedLock, AProcessMayTakeItsOwnLockAgain) {
    ASSERT_TRUE(plat::AcquireNamedLock(name));
    EXPECT_TRUE(plat::AcquireNamedLock(name));
    EXPECT_FALSE(AcquireInChild());
}

}  // namespace
