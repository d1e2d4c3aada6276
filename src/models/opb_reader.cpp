#include "models/opb_reader.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "models/text_scan.h"
#include "problem/checked_arithmetic.h"
#include "problem/problem.h"

namespace zoint {

namespace {


enum class TokenKind { Number, Literal, Objective, Relation, End, Finished };

struct Token {
  TokenKind kind;
  LineNumber line;
  int64_t number;  // Number: its value
  int64_t index;   // Literal: K of xK
  bool negated;    // Literal: written ~xK
  bool maximise;   // Objective: "max:" rather than "min:"
  bool implicit;   // Number: a sign standing for ±1 before a variable ("+x1", "-x2")
  char relation;   // Relation: '>' for >=, '<' for <=, '=' for =
};

// The token at p, printable, for messages.
std::string Excerpt(const char* p, const char* end) {
  const char* stop = p;
  while (stop < end && *stop != ' ' && *stop != '\t' && *stop != '\r' && *stop != '\n') ++stop;
  return Printable(std::string_view(p, static_cast<size_t>(stop - p)));
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

const char kVariableExpected[] = "expected a variable named x followed by a number (x1, x2, ...)";
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Reads "#variable= N" and "#constraint= M" from a comment line.
void ReadHeaderField(const std::string& comment, const char* field, int64_t& value) {
  const size_t at = comment.find(field);
  if (at == std::string::npos) return;
  size_t p = at + std::char_traits<char>::length(field);
  while (p < comment.size() && IsSpace(comment[p])) ++p;
  const char* digits = comment.data() + p;
  const DigitRun run = ScanDigits(digits, comment.data() + comment.size(), kLargestMagnitude);
  if (run.stop != digits) value = run.fits ? static_cast<int64_t>(run.value) : INT64_MAX;
}

class Lexer {
 public:
  explicit Lexer(const std::string& text) : p_(text.data()), end_(text.data() + text.size()) {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) p_ += 3;  // a UTF-8 byte order mark
  }

  int64_t declaredVariables = -1;  // from the header; −1 without one
  int64_t declaredConstraints = -1;
  LineNumber headerLine = 0;
  LineNumber line = 1;           // where the lexer is
  LineNumber lastTokenLine = 1;  // where the last token began: the end of the text, for messages

  // The next token, or false with error set.
  bool Next(Token& token, ModelError& error, bool beforeFirstStatement) {
    SkipSpaceAndComments(beforeFirstStatement);
    token = Token{TokenKind::Finished, lastTokenLine, 0, 0, false, false, false, 0};
    if (p_ == end_) return true;
    lastTokenLine = line;
    token.line = line;
    const char* start = p_;
    const char c = *p_;
    if (c == ';') {
      ++p_;
      token.kind = TokenKind::End;
      return true;
    }
    if (c == '>' || c == '<' || c == '=') {
      ++p_;
      if (c != '=') {
        if (p_ == end_ || *p_ != '=') return Fail(error, start, "expected >=, <= or =");
        ++p_;
      }
      token.kind = TokenKind::Relation;
      token.relation = c;
      return true;
    }
    if (c == '+' || c == '-' || IsDecimalDigit(c)) return ReadNumber(token, error);
    if (c == '~' || c == 'x') return ReadLiteral(token, error);
    if (end_ - p_ >= 5 && std::equal(p_, p_ + 5, "soft:")) {
      return Fail(error, start, "a soft constraint, of the weighted format (WBO), not OPB");
    }
    if (Keyword("min") || Keyword("max")) {
      token.kind = TokenKind::Objective;
      token.maximise = c == 'm' && p_[1] == 'a';
      p_ += 3;
      while (p_ < end_ && (*p_ == ' ' || *p_ == '\t')) ++p_;
      if (p_ == end_ || *p_ != ':') return Fail(error, start, "expected ':' after min or max");
      ++p_;
      return true;
    }
    if (IsLetter(c)) return Fail(error, start, kVariableExpected);
    return Fail(error, start, "expected a term (such as +3 x1), >=, <=, = or ';'");
  }

 private:
  const char* p_;
  const char* end_;

  bool Fail(ModelError& error, const char* at, const std::string& reason) {
    error = {line, reason + " at '" + Excerpt(at, end_) + "'"};
    return false;
  }

  // "min" or "max" followed by ':' or a blank.
  bool Keyword(const char* word) const {
    return end_ - p_ > 3 && std::equal(word, word + 3, p_) && (p_[3] == ':' || p_[3] == ' ' || p_[3] == '\t');
  }

  // A '*' cannot start a token, so wherever one would start it opens a
  // comment that runs to the end of the line.
  void SkipSpaceAndComments(bool beforeFirstStatement) {
    while (p_ < end_) {
      if (*p_ == '\n') {
        ++line;
        ++p_;
      } else if (IsSpace(*p_)) {
        ++p_;
      } else if (*p_ == '*') {
        const char* stop = std::find(p_, end_, '\n');
        const std::string comment(p_, stop);
        if (beforeFirstStatement && headerLine == 0 && comment.find("#variable=") != std::string::npos) {
          headerLine = line;
          ReadHeaderField(comment, "#variable=", declaredVariables);
          ReadHeaderField(comment, "#constraint=", declaredConstraints);
        }
        p_ = stop;
      } else {
        return;
      }
    }
  }

  bool ReadNumber(Token& token, ModelError& error) {
    const char* start = p_;
    bool negative = false;
    if (*p_ == '+' || *p_ == '-') {
      negative = *p_ == '-';
      ++p_;
      // "+ 3 x1" is met in the wild: the sign may stand apart.
      while (p_ < end_ && (*p_ == ' ' || *p_ == '\t')) ++p_;
      // "+x1", "- ~x2": a coefficient of 1, left unwritten.
      if (p_ < end_ && (*p_ == 'x' || *p_ == '~')) {
        token.kind = TokenKind::Number;
        token.number = negative ? -1 : 1;
        token.implicit = true;
        return true;
      }
    }
    if (p_ == end_ || !IsDecimalDigit(*p_))
      return Fail(error, start, "expected a number or a variable after the sign");
    const DigitRun digits = ScanDigits(p_, end_, kLargestMagnitude);
    p_ = digits.stop;
    if (p_ < end_ && (*p_ == '.' || *p_ == 'e' || *p_ == 'E')) {
      return Fail(error, start, "OPB coefficients are integers");
    }
    if (!digits.fits) return Fail(error, start, "number beyond the 64-bit range (magnitude at most 2^63 - 1)");
    token.kind = TokenKind::Number;
    token.number = negative ? -static_cast<int64_t>(digits.value) : static_cast<int64_t>(digits.value);
    return true;
  }

  bool ReadLiteral(Token& token, ModelError& error) {
    const char* start = p_;
    token.negated = *p_ == '~';
    if (token.negated) ++p_;
    if (p_ == end_ || *p_ != 'x') return Fail(error, start, kVariableExpected);
    ++p_;
    if (p_ == end_ || !IsDecimalDigit(*p_)) return Fail(error, start, kVariableExpected);
    const DigitRun digits = ScanDigits(p_, end_, INT32_MAX);
    p_ = digits.stop;
    if (!digits.fits) return Fail(error, start, "variable number too large");
    const int64_t index = static_cast<int64_t>(digits.value);
    if (index == 0) return Fail(error, start, "variables are numbered from x1");
    if (p_ < end_ && !IsSpace(*p_) && *p_ != ';' && *p_ != '>' && *p_ != '<' && *p_ != '=') {
      return Fail(error, start, kVariableExpected);
    }
    token.kind = TokenKind::Literal;
    token.index = index;
    return true;
  }
};

struct Term {
  int64_t index;  // K of xK
  int64_t coefficient;
  LineNumber line;  // where the term starts
};

constexpr size_t kNone = static_cast<size_t>(-1);

// One statement's terms, with what the negated literals moved to the
// constant side: Σ a·~x = Σ a − Σ a·x.
struct Statement {
  LineNumber line;
  std::vector<Term> terms;
  int64_t constant;
};

class Reader {
 public:
  Reader(const std::string& text, RawModel& model, ModelError& error)
      : lexer_(text), model_(model), error_(error) {}

  bool Read() {
    model_ = RawModel{{}, {}, false, kZero, 0};
    Token token;
    if (!lexer_.Next(token, error_, true)) return false;
    if (!CheckHeader()) return false;
    Statement objective{0, {}, 0};
    if (token.kind == TokenKind::Objective) {
      model_.maximise = token.maximise;
      model_.objectiveLine = token.line;
      objective.line = token.line;
      size_t repeat = kNone;
      if (!lexer_.Next(token, error_, false) || !ReadTerms(objective, token, repeat)) return false;
      if (token.kind != TokenKind::End) return ObjectiveNotEnded(objective, token, repeat);
      if (repeat != kNone) return Twice(objective.terms[repeat], "the objective");
      if (!lexer_.Next(token, error_, false)) return false;
    }
    std::vector<Statement> constraints;
    std::vector<Token> relations;
    while (token.kind != TokenKind::Finished) {
      if (token.kind == TokenKind::Objective) return Fail(token.line, "the objective must come first");
      Statement constraint{token.line, {}, 0};
      size_t repeat = kNone;
      if (!ReadTerms(constraint, token, repeat)) return false;
      if (repeat != kNone) return Twice(constraint.terms[repeat], "this constraint");
      if (token.kind == TokenKind::Finished) {
        return Fail(token.line, "the file ends inside a constraint, before its >=, <= or = (truncated?)");
      }
      if (token.kind != TokenKind::Relation) return Fail(token.line, "expected >=, <= or = after the terms");
      const Token relation = token;
      if (!lexer_.Next(token, error_, false)) return false;
      if (token.kind != TokenKind::Number || token.implicit) {
        return Fail(token.line, "expected an integer after " + Name(relation));
      }
      const int64_t bound = token.number;
      const LineNumber boundLine = token.line;
      if (!lexer_.Next(token, error_, false)) return false;
      // The ';' belongs right after the right-hand side: its line is the
      // one to fix, not the line of what came instead.
      if (token.kind != TokenKind::End) {
        return Fail(boundLine,
                    "expected ';' after the right-hand side " + std::to_string(bound) +
                        (token.kind == TokenKind::Finished ? " (truncated?)" : ", to end the constraint"));
      }
      // Σ terms + constant ⋈ bound  ⇔  Σ terms ⋈ bound − constant.
      if (!CheckedAddWithinMagnitude(bound, -constraint.constant, constraint.constant)) {
        return Fail(constraint.line,
                    "the right-hand side, with the negated literals moved to it, "
                    "leaves the 64-bit range");
      }
      constraints.push_back(constraint);
      relations.push_back(relation);
      // Each constraint becomes at least one row: stop before a huge file
      // fills memory.
      if (constraints.size() > static_cast<size_t>(MaxConstraints)) {
        return Fail(constraint.line, "more than " + std::to_string(MaxConstraints) +
                                         " constraints (at most " + std::to_string(MaxConstraints) +
                                         " rows after the mapping)");
      }
      if (lexer_.declaredConstraints >= 0 &&
          static_cast<int64_t>(constraints.size()) > lexer_.declaredConstraints) {
        return Fail(constraint.line, "more constraints than the header's #constraint= " +
                                         std::to_string(lexer_.declaredConstraints));
      }
      if (!lexer_.Next(token, error_, false)) return false;
    }
    if (lexer_.declaredConstraints >= 0 &&
        static_cast<int64_t>(constraints.size()) < lexer_.declaredConstraints) {
      return Fail(token.line, "the header announces " + std::to_string(lexer_.declaredConstraints) +
                                  " constraints, the file has " + std::to_string(constraints.size()) +
                                  " (truncated?)");
    }
    // Comments alone are what is left of a file cut short in its first line.
    if (lexer_.headerLine == 0 && model_.objectiveLine == 0 && constraints.empty()) {
      return Fail(token.line, "no header, objective or constraint: nothing to solve (truncated?)");
    }
    Build(objective, constraints, relations);
    return true;
  }

 private:
  Lexer lexer_;
  RawModel& model_;
  ModelError& error_;
  // Variables met so far: K of xK → line of first use.
  std::map<int64_t, LineNumber> used_;

  bool Fail(LineNumber line, const std::string& reason) {
    error_ = {line, reason};
    return false;
  }

  static std::string Name(const Token& relation) {
    return relation.relation == '=' ? "=" : std::string(1, relation.relation) + "=";
  }

  bool CheckHeader() {
    if (lexer_.headerLine != 0 && (lexer_.declaredVariables < 0 || lexer_.declaredConstraints < 0)) {
      return Fail(lexer_.headerLine,
                  "the header must give both #variable= N and #constraint= M (truncated?)");
    }
    if (lexer_.declaredVariables > MaxVariables) {
      return Fail(lexer_.headerLine, "the header declares " + std::to_string(lexer_.declaredVariables) +
                                         " variables; at most " + std::to_string(MaxVariables));
    }
    return true;
  }

  bool Use(const Token& literal) {
    const int64_t k = literal.index;
    if (lexer_.declaredVariables >= 0 && k > lexer_.declaredVariables) {
      return Fail(literal.line, "x" + std::to_string(k) + " is not declared (the header's #variable= " +
                                    std::to_string(lexer_.declaredVariables) + ")");
    }
    if (used_.emplace(k, literal.line).second && lexer_.declaredVariables < 0 &&
        used_.size() > static_cast<size_t>(MaxVariables)) {
      return Fail(literal.line, "more than " + std::to_string(MaxVariables) + " variables (x" +
                                    std::to_string(k) + " is one too many)");
    }
    return true;
  }

  // Reads terms, "[coefficient] literal" (no coefficient is 1, and a sign
  // alone is ±1), from token on until a token that starts none; token is
  // left on it. A variable met twice is not refused here but noted in
  // `repeat`, the index of the term that repeats it: in the objective it may
  // be where a missing ';' let the next constraint in.
  bool ReadTerms(Statement& statement, Token& token, size_t& repeat) {
    while (token.kind == TokenKind::Number || token.kind == TokenKind::Literal) {
      const LineNumber line = token.line;
      int64_t coefficient = 1;
      if (token.kind == TokenKind::Number) {
        coefficient = token.number;
        if (!lexer_.Next(token, error_, false)) return false;
        if (token.kind != TokenKind::Literal) {
          return Fail(token.line, "expected a variable after the coefficient " + std::to_string(coefficient));
        }
      }
      const Token literal = token;
      if (!Use(literal)) return false;
      for (size_t k = 0; k < statement.terms.size() && repeat == kNone; ++k) {
        if (statement.terms[k].index == literal.index) repeat = statement.terms.size();
      }
      if (literal.negated) {
        if (!CheckedAddWithinMagnitude(statement.constant, coefficient, statement.constant)) {
          return Fail(literal.line, "the negated literals' constant leaves the 64-bit range");
        }
        statement.terms.push_back({literal.index, -coefficient, line});
      } else {
        statement.terms.push_back({literal.index, coefficient, line});
      }
      if (!lexer_.Next(token, error_, false)) return false;
      if (token.kind == TokenKind::Literal) {
        return Fail(token.line, "a product of variables is not linear (quadratic or higher term)");
      }
    }
    return true;
  }

  bool Twice(const Term& term, const char* where) {
    return Fail(term.line, "x" + std::to_string(term.index) + " appears twice in " + where);
  }

  // The objective ran into what follows it instead of ending at ';'. Where a
  // term starts a line, the ';' was most likely left off the line before:
  // the last such term, or the last at or before a repeated variable, which
  // belongs to the statement let in.
  bool ObjectiveNotEnded(const Statement& objective, const Token& token, size_t repeat) {
    if (token.kind == TokenKind::Finished) {
      return Fail(token.line, "expected ';' at the end of the objective (truncated?)");
    }
    const size_t count = repeat != kNone ? repeat + 1 : objective.terms.size();
    for (size_t k = count; k-- > 0;) {
      const LineNumber before = k == 0 ? objective.line : objective.terms[k - 1].line;
      if (objective.terms[k].line > before) {
        return Fail(before,
                    "expected ';' at the end of this line, to end the objective (the next line reads as "
                    "more of it)");
      }
    }
    if (token.kind == TokenKind::Relation) {
      return Fail(token.line, "expected ';' to end the objective before " + Name(token) +
                                  ": an objective has no relation");
    }
    return Fail(token.line, "expected ';' at the end of the objective");
  }

  void Build(const Statement& objective, const std::vector<Statement>& constraints,
             const std::vector<Token>& relations) {
    // The model's variables, in index order, and where each index sits.
    std::map<int64_t, int32_t> position;
    if (lexer_.declaredVariables >= 0) {
      for (int64_t k = 1; k <= lexer_.declaredVariables; ++k) position[k] = 0;
    }
    for (const auto& entry : used_) position[entry.first] = 0;
    for (auto& entry : position) {
      entry.second = static_cast<int32_t>(model_.variables.size());
      const auto seen = used_.find(entry.first);
      const LineNumber line = seen != used_.end() ? seen->second : lexer_.headerLine;
      model_.variables.push_back({"x" + std::to_string(entry.first), kZero, true, 0.0, 1.0, line});
    }
    for (const Term& term : objective.terms) {
      model_.variables[static_cast<size_t>(position[term.index])].cost = {term.coefficient, 1};
    }
    model_.constant = {objective.constant, 1};
    for (size_t k = 0; k < constraints.size(); ++k) {
      const Statement& statement = constraints[k];
      RawRow row{"constraint " + std::to_string(k + 1), {}, false, kZero, false, kZero, statement.line};
      for (const Term& term : statement.terms)
        row.terms.push_back({position[term.index], {term.coefficient, 1}});
      const ExactNumber bound = {statement.constant, 1};
      const char relation = relations[k].relation;
      if (relation == '>' || relation == '=') {
        row.hasLower = true;
        row.lower = bound;
      }
      if (relation == '<' || relation == '=') {
        row.hasUpper = true;
        row.upper = bound;
      }
      model_.rows.push_back(row);
    }
  }
};

}  // namespace

bool ReadOpb(const std::string& text, RawModel& model, ModelError& error) {
  return Reader(text, model, error).Read();
}

}  // namespace zoint
