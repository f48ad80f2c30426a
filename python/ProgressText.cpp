#include "ProgressText.h"

std::string ProgressText::Text() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
}

ProgressText::int_type ProgressText::overflow(int_type c) {
    // The line is redrawn in place: what comes after a carriage return or a line break is new.
    if (traits_type::eq_int_type(c, traits_type::to_int_type('\r')) ||
        traits_type::eq_int_type(c, traits_type::to_int_type('\n')))
        line_.clear();
    else if (!traits_type::eq_int_type(c, traits_type::eof()))
        line_ += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
}

int ProgressText::sync() {
    const std::size_t end = line_.find_last_not_of(' ');
    if (end != std::string::npos) {
        const std::lock_guard<std::mutex> lock(mutex_);
        shown_ = line_.substr(0, end + 1);
    }
    return 0;
}
