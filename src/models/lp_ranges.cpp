#include "models/lp_ranges.h"

#include <deque>
#include <string_view>

#include "models/lp_text.h"
#include "models/text_scan.h"

namespace zoint {

namespace {

enum class Kind { Word, Number, Sign, Relation, Colon, End };

struct Token {
  Kind kind;
  size_t begin;  // offsets into the text
  size_t end;
  LineNumber line;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool EndsWord(char c) {
  return IsBlank(c) || c == ':' || c == '<' || c == '>' || c == '=' || c == '+' || c == '-';
}

// The tokens of an LP file, comments left out, one at a time: a file of
// any size is read in one pass without holding its tokens.
class Lexer {
 public:
  explicit Lexer(const std::string& text) : text_(text) {}

  // The token `ahead` places after the next one (0: the next).
  const Token& Peek(size_t ahead) {
    while (queue_.size() <= ahead) queue_.push_back(Read());
    return queue_[ahead];
  }

  Token Next() {
    Peek(0);
    const Token token = queue_.front();
    queue_.pop_front();
    return token;
  }

 private:
  const std::string& text_;
  std::deque<Token> queue_;
  size_t at_ = 0;        // where reading goes on in the current line
  size_t lineEnd_ = 0;   // end of the current line's content, comment excluded
  size_t nextLine_ = 0;  // start of the line after it
  LineNumber line_ = 0;

  bool NextLine() {
    if (nextLine_ >= text_.size()) return false;
    const size_t start = nextLine_;
    size_t stop = text_.find('\n', start);
    if (stop == std::string::npos) stop = text_.size();
    nextLine_ = stop + 1;
    ++line_;
    const std::string_view content = LpWithoutComment(std::string_view(text_.data() + start, stop - start));
    at_ = start;
    lineEnd_ = start + content.size();
    return true;
  }

  Token Read() {
    for (;;) {
      while (at_ < lineEnd_ && IsBlank(text_[at_])) ++at_;
      if (at_ < lineEnd_) break;
      if (!NextLine()) return {Kind::End, text_.size(), text_.size(), line_};
    }
    const size_t begin = at_;
    const char c = text_[at_++];
    Kind kind = Kind::Word;
    if (c == ':') {
      kind = Kind::Colon;
    } else if (c == '+' || c == '-') {
      kind = Kind::Sign;
    } else if (c == '<' || c == '>' || c == '=') {
      kind = Kind::Relation;
      // <=, =<, >=, => and = alone.
      if (at_ < lineEnd_ && (text_[at_] == '=' || (c == '=' && (text_[at_] == '<' || text_[at_] == '>'))))
        ++at_;
    } else if (IsDigit(c) || (c == '.' && at_ < lineEnd_ && IsDigit(text_[at_]))) {
      kind = Kind::Number;
      while (at_ < lineEnd_ && (IsDigit(text_[at_]) || text_[at_] == '.')) ++at_;
      if (at_ < lineEnd_ && (text_[at_] == 'e' || text_[at_] == 'E')) {
        size_t exponent = at_ + 1;
        if (exponent < lineEnd_ && (text_[exponent] == '+' || text_[exponent] == '-')) ++exponent;
        if (exponent < lineEnd_ && IsDigit(text_[exponent])) {
          at_ = exponent;
          while (at_ < lineEnd_ && IsDigit(text_[at_])) ++at_;
        }
      }
    } else {
      while (at_ < lineEnd_ && !EndsWord(text_[at_])) ++at_;
    }
    return {kind, begin, at_, line_};
  }
};

bool IsWordIn(const std::string& text, const Token& token, std::initializer_list<const char*> words) {
  if (token.kind != Kind::Word) return false;
  const std::string word = Lowercase(std::string_view(text.data() + token.begin, token.end - token.begin));
  for (const char* candidate : words) {
    if (word == candidate) return true;
  }
  return false;
}

// A side of a row: a number, or an infinity, as CoinLpIO reads them.
bool IsValue(const std::string& text, const Token& token) {
  return token.kind == Kind::Number || IsWordIn(text, token, {"inf", "infinity"});
}

bool PointsDown(const std::string& text, const Token& relation) {
  return text[relation.begin] == '<' || text[relation.end - 1] == '<';
}
bool PointsUp(const std::string& text, const Token& relation) {
  return text[relation.begin] == '>' || text[relation.end - 1] == '>';
}

class Splitter {
 public:
  Splitter(std::string& text, std::vector<RangedSide>& sides, ModelError& error)
      : text_(text), lexer_(text), sides_(sides), error_(error) {}

  bool Split(size_t& constraints) {
    constraints = 0;
    if (!FindConstraints()) return true;
    for (;;) {
      const Token& first = lexer_.Peek(0);
      if (first.kind == Kind::End) return true;
      // A section keyword ends the constraints, unless it labels a row.
      if (lexer_.Peek(1).kind != Kind::Colon &&
          IsWordIn(text_, first,
                   {"bounds", "bound", "binary", "binaries", "bin", "general", "generals", "gen", "integer",
                    "integers", "semi", "semis", "semi-continuous", "sos", "end"})) {
        return true;
      }
      if (!Constraint(constraints)) return false;
      ++constraints;
    }
  }

 private:
  std::string& text_;
  Lexer lexer_;
  std::vector<RangedSide>& sides_;
  ModelError& error_;

  std::string Text(const Token& token) const { return text_.substr(token.begin, token.end - token.begin); }

  // Moves past "Subject To" (or "such that", "st", "s.t."); false when the
  // file has no constraints.
  bool FindConstraints() {
    for (;;) {
      const Token token = lexer_.Next();
      if (token.kind == Kind::End) return false;
      if (lexer_.Peek(0).kind == Kind::Colon) continue;
      if (IsWordIn(text_, token, {"st", "s.t.", "st."})) return true;
      if ((IsWordIn(text_, token, {"subject"}) && IsWordIn(text_, lexer_.Peek(0), {"to"})) ||
          (IsWordIn(text_, token, {"such"}) && IsWordIn(text_, lexer_.Peek(0), {"that"}))) {
        lexer_.Next();
        return true;
      }
    }
  }

  // One constraint: [label:] [L relation] expression relation R.
  bool Constraint(size_t index) {
    std::string label;
    if (lexer_.Peek(0).kind == Kind::Word && lexer_.Peek(1).kind == Kind::Colon) {
      label = Text(lexer_.Next());
      lexer_.Next();
    }
    const size_t sign = lexer_.Peek(0).kind == Kind::Sign ? 1 : 0;
    const bool ranged = IsValue(text_, lexer_.Peek(sign)) && lexer_.Peek(sign + 1).kind == Kind::Relation;
    Token start{Kind::End, 0, 0, 0};
    Token left = start;
    Token first = start;
    if (ranged) {
      start = lexer_.Next();
      left = sign == 1 ? lexer_.Next() : start;
      first = lexer_.Next();
    }
    // The expression runs to the relation; the side after it ends the row.
    Token relation = lexer_.Next();
    while (relation.kind != Kind::Relation && relation.kind != Kind::End) {
      // A row that starts "L <=" and reaches the next row's name has a
      // side on the left only, which CoinLpIO does not read either.
      if (ranged && relation.kind == Kind::Word && lexer_.Peek(0).kind == Kind::Colon) break;
      relation = lexer_.Next();
    }
    if (ranged && relation.kind != Kind::Relation) {
      error_ = {first.line,
                "a row with a side on its left needs a second relation: L <= expression <= U, "
                "or U >= expression >= L"};
      return false;
    }
    if (relation.kind == Kind::End) return true;
    if (lexer_.Peek(0).kind == Kind::Sign && IsValue(text_, lexer_.Peek(1))) lexer_.Next();
    if (IsValue(text_, lexer_.Peek(0))) lexer_.Next();
    if (!ranged) return true;

    const bool down = PointsDown(text_, first) && PointsDown(text_, relation);
    const bool up = PointsUp(text_, first) && PointsUp(text_, relation);
    if (!down && !up) {
      error_ = {first.line,
                "a ranged row needs both relations the same way: L <= expression <= U, or "
                "U >= expression >= L; found " +
                    Text(first) + " and " + Text(relation)};
      return false;
    }
    sides_.push_back({index, label, down, (sign == 1 ? Text(start) : "") + Text(left), start.line});
    // Blanks keep every line where it was, for the line numbers of messages.
    for (size_t k = start.begin; k < first.end; ++k) {
      if (text_[k] != '\n' && text_[k] != '\r') text_[k] = ' ';
    }
    return true;
  }
};

}  // namespace

bool SplitRangedRows(std::string& text, std::vector<RangedSide>& sides, size_t& constraints,
                     ModelError& error) {
  sides.clear();
  return Splitter(text, sides, error).Split(constraints);
}

}  // namespace zoint
