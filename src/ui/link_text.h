#pragma once
// The text form of links in nibs: how Insert File Link writes a path, how a Ctrl+clicked word is
// read back, and which words are links at all. Portable, so it is tested and fuzzed natively.
#include <string>

// A path as file link text: blank as "+", "%" as %25, "+" as %2b; every other byte as it is.
std::string encode_file_link(const std::string& path);

// White space trimmed at both ends, then %xx (two hexadecimal digits, either case) decoded to its
// byte and "+" to a blank. A "%" without two hexadecimal digits after it stays.
std::string decode_link(std::string word);

// What a Ctrl+click does with a decoded link.
enum class LinkAction {
    search,     // not a link: the word is searched for in the pad
    mail,       // a mail address: handed to the mail program as "mailto:" + link
    open,       // a web address, document or folder: opened through the shell
    ask_first,  // a link to something that would run code: opened only after the user agrees
};
LinkAction classify_link(const std::string& link);

// What the shell is given to open a link: a web address written without its scheme ("www.",
// "ftp.") gets the one the shell would give it; anything else stays as it is.
std::string shell_target(const std::string& link);
