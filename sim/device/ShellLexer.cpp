#include "ShellLexer.h"

namespace box::dev {
namespace {

class Lexer {
public:
    explicit Lexer(const std::string& line) : s_(line) {}
    ParsedLine Run();

private:
    bool AtOperator() const;
    bool ReadOperator(Joint& joint);
    bool ReadWord(Word& word);
    void AddLiteral(Word& w, char c);
    void AddUnquoted(Word& w, char c);
    bool ReadSingleQuoted(Word& w);
    bool ReadDoubleQuoted(Word& w);
    bool AtSubstitution(char c);
    bool ReadSubstitution(Word& w, char opener);
    void SkipBlanks();

    const std::string& s_;
    size_t i_ = 0;
    std::string error_;
};

void Lexer::AddLiteral(Word& w, char c)
{
    w.text += c;
    if (c == '*' || c == '?' || c == '[' || c == '\\')
        w.pattern += '\\';
    w.pattern += c;
}

void Lexer::AddUnquoted(Word& w, char c)
{
    if (c == '*' || c == '?') {
        w.text += c;
        w.pattern += c;
        w.glob = true;
        return;
    }
    AddLiteral(w, c);
}

bool Lexer::ReadSingleQuoted(Word& w)
{
    const size_t end = s_.find('\'', i_);
    if (end == std::string::npos) {
        error_ = "sh: syntax error: unterminated quoted string";
        return false;
    }
    for (size_t k = i_; k < end; ++k)
        AddLiteral(w, s_[k]);
    i_ = end + 1;
    return true;
}

// True, past the "(", for the "$(" or the backquote that opens a command
// substitution; `c` was read last.
bool Lexer::AtSubstitution(char c)
{
    if (c == '`')
        return true;
    if (c != '$' || i_ >= s_.size() || s_[i_] != '(')
        return false;
    ++i_;
    return true;
}

// Parentheses nest inside "$(...)"; quotes in there are not looked at, which
// is enough for the box: the program never sends a substitution.
bool Lexer::ReadSubstitution(Word& w, char opener)
{
    size_t end = i_;
    if (opener == '`') {
        end = s_.find('`', i_);
    } else {
        for (int depth = 1; end < s_.size(); ++end) {
            if (s_[end] == '(')
                ++depth;
            else if (s_[end] == ')' && --depth == 0)
                break;
        }
    }
    if (end == std::string::npos || end >= s_.size()) {
        error_ = "sh: syntax error: unterminated command substitution";
        return false;
    }
    w.substitutions.push_back({s_.substr(i_, end - i_), w.text.size(), w.pattern.size()});
    i_ = end + 1;
    return true;
}

bool Lexer::ReadDoubleQuoted(Word& w)
{
    while (i_ < s_.size() && s_[i_] != '"') {
        char c = s_[i_++];
        if (c == '\\' && i_ < s_.size() && std::string_view("\"\\$`\n").find(s_[i_]) != std::string_view::npos)
            c = s_[i_++];
        else if (AtSubstitution(c)) {
            if (!ReadSubstitution(w, c))
                return false;
            continue;
        }
        AddLiteral(w, c);
    }
    if (i_ >= s_.size()) {
        error_ = "sh: syntax error: unterminated quoted string";
        return false;
    }
    ++i_;
    return true;
}

void Lexer::SkipBlanks()
{
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t'))
        ++i_;
}

bool Lexer::AtOperator() const
{
    return i_ < s_.size() && std::string_view(";&|\n<>()").find(s_[i_]) != std::string_view::npos;
}

bool Lexer::ReadOperator(Joint& joint)
{
    const std::string_view rest(s_.data() + i_, s_.size() - i_);
    if (rest.starts_with("&&") || rest.starts_with("||")) {
        joint = rest[0] == '&' ? Joint::IfOk : Joint::IfFailed;
        i_ += 2;
        return true;
    }
    if (rest[0] == ';' || rest[0] == '\n') {
        joint = Joint::Always;
        ++i_;
        return true;
    }
    error_ = std::string("sh: syntax error: '") + rest[0] + "' is not supported here";
    return false;
}

bool Lexer::ReadWord(Word& w)
{
    while (i_ < s_.size() && s_[i_] != ' ' && s_[i_] != '\t' && !AtOperator()) {
        const char c = s_[i_++];
        if (c == '\'') {
            if (!ReadSingleQuoted(w))
                return false;
        } else if (c == '"') {
            if (!ReadDoubleQuoted(w))
                return false;
        } else if (c == '\\') {
            if (i_ < s_.size())
                AddLiteral(w, s_[i_++]);
        } else if (AtSubstitution(c)) {
            if (!ReadSubstitution(w, c))
                return false;
        } else {
            AddUnquoted(w, c);
        }
    }
    return true;
}

ParsedLine Lexer::Run()
{
    ParsedLine out;
    SimpleCommand current;
    for (;;) {
        SkipBlanks();
        if (i_ >= s_.size() || s_[i_] == '#')
            break;
        Joint joint;
        if (AtOperator()) {
            if (!ReadOperator(joint))
                break;
            if (current.words.empty()) {
                // A stray ";" is harmless; "&&" or "||" without a command is not.
                if (joint != Joint::Always || current.joint == Joint::IfOk || current.joint == Joint::IfFailed) {
                    error_ = "sh: syntax error: a command is missing before the operator";
                    break;
                }
                continue;
            }
            out.commands.push_back(std::move(current));
            current = SimpleCommand{};
            current.joint = joint;
            continue;
        }
        Word w;
        if (!ReadWord(w))
            break;
        current.words.push_back(std::move(w));
    }
    if (error_.empty() && !current.words.empty())
        out.commands.push_back(std::move(current));
    else if (error_.empty() && (current.joint == Joint::IfOk || current.joint == Joint::IfFailed))
        error_ = "sh: syntax error: a command is missing after the operator";
    out.error = error_;
    if (!out.error.empty())
        out.commands.clear();
    return out;
}

}  // namespace

ParsedLine ParseCommandLine(const std::string& line)
{
    return Lexer(line).Run();
}

}  // namespace box::dev
