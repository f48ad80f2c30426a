#pragma once
// The C library's locale as the window takes it from the environment (setlocale(LC_ALL, ""), as
// QApplication does), set to de_DE.UTF-8, whose decimal separator is a comma, while the object
// lives. The locale is compiled with localedef into a scratch folder of the test's own, so no
// installed locale is needed.

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class GermanLocale {
  public:
    GermanLocale() : before_(std::setlocale(LC_ALL, nullptr)) {
        if (std::system("command -v localedef >/dev/null 2>&1") != 0)
            return;
        std::string folder =
            (std::filesystem::temp_directory_path() / "pathloom-locale-XXXXXX").string();
        if (!::mkdtemp(folder.data()))
            return;
        folder_ = folder;
        available_ = true;
        // Its warnings (and their exit status 1) are no failure: whether the locale came out is
        // what setlocale tells.
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + folder_ + "/de_DE.UTF-8' >/dev/null 2>&1";
        [[maybe_unused]] const int status = std::system(command.c_str());
        ::setenv("LOCPATH", folder_.c_str(), 1);
        ::setenv("LC_ALL", "de_DE.UTF-8", 1);
        std::setlocale(LC_ALL, "");
    }
    ~GermanLocale() {
        std::setlocale(LC_ALL, before_.c_str());
        ::unsetenv("LC_ALL");
        ::unsetenv("LOCPATH");
        std::error_code ignored;
        if (!folder_.empty())
            std::filesystem::remove_all(folder_, ignored);
    }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

    // False only where localedef is missing (Debian package locales): the caller skips then.
    bool Available() const { return available_; }
    // The separator the C library now writes: "," when the locale took.
    static std::string DecimalPoint() { return std::localeconv()->decimal_point; }

  private:
    std::string before_;
    std::string folder_;
    bool available_ = false;
};
