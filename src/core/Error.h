#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace pluvane {

// The one failure type of the core. The message is written for the user and is shown as it
// stands (the front ends put it in a message box or on standard error); the title is the
// message box title of the dialog style ("Error" unless a caller says otherwise).
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message, std::string title = "Error")
        : std::runtime_error(message), m_title(std::move(title)) {}

    const std::string& title() const noexcept { return m_title; }

private:
    std::string m_title;
};

} // namespace pluvane
