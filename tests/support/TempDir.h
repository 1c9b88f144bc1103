#pragma once
// A temporary folder removed at the end of the test, and an environment override restored
// afterwards; tests point the XDG variables at such folders.
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace dravik::test {

class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "dravik-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& rel) const { return path_ / rel; }

  private:
    std::filesystem::path path_;
};

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = ::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// Points every XDG folder of the process at a fresh temporary folder for the test's life.
class IsolatedXdg {
  public:
    IsolatedXdg()
        : data_("XDG_DATA_HOME", (dir_ / "data").string()),
          config_("XDG_CONFIG_HOME", (dir_ / "config").string()),
          runtime_("XDG_RUNTIME_DIR", (dir_ / "runtime").string()) {
        std::filesystem::create_directories(dir_ / "runtime");
    }
    const std::filesystem::path& Root() const { return dir_.Path(); }

  private:
    TempDir dir_;
    ScopedEnv data_, config_, runtime_;
};

}  // namespace dravik::test
