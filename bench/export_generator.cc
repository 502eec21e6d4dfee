#include "export_generator.h"

#include <array>
#include <string>
#include <string_view>

namespace {

// splitmix64: small, fast, and the same everywhere.
class random_bits {
 public:
  explicit random_bits(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t below(std::size_t n) { return next() % n; }
  bool chance(int percent) {
    return below(100) < static_cast<unsigned>(percent);
  }
  template <std::size_t n>
  std::string_view pick(const std::array<std::string_view, n>& from) {
    return from[below(n)];
  }

 private:
  std::uint64_t state_;
};

constexpr std::array<std::string_view, 16> given = {
    "Ada",     "Charles", "Mary",    "Alan", "Grace", "Edsger",
    "Barbara", "Donald",  "Frances", "John", "Karen", "Niklaus",
    "Radia",   "Tony",    "Sophie",  "Ken"};
constexpr std::array<std::string_view, 16> surname = {
    "Lovelace", "Babbage", "Somerville", "Turing",  "Hopper", "Dijkstra",
    "Liskov",   "Knuth",   "Allen",      "Backus",  "Jones",  "Wirth",
    "Perlman",  "Hoare",   "Wilson",     "Thompson"};
// Names that an export writes in Base64, being UTF-8 beyond ASCII.
constexpr std::array<std::string_view, 4> accented = {
    "Zo\xC3\xAB M\xC3\xBCller",
    "Jos\xC3\xA9 Pe\xC3\xB1"
    "a",
    "Bj\xC3\xB6rk Gu\xC3\xB0"
    "mundsd\xC3\xB3ttir",
    "Fran\xC3\xA7oise Dupr\xC3\xA9"};
constexpr std::array<std::string_view, 6> organization = {
    "Analytical Engines Ltd", "Difference Works", "Example Corporation",
    "Northwind Traders",      "Acme Widgets Inc", "Contoso Research"};
constexpr std::array<std::string_view, 5> title = {
    "Engineer", "Senior Analyst", "Director of Operations", "Programmer",
    "Office Manager"};
constexpr std::array<std::string_view, 5> city = {"London", "Springfield",
                                                  "Sevilla", "Uppsala", "Lyon"};
constexpr std::string_view words =
    "met at the conference and asked to be kept informed about the progress "
    "of the engine project including the reports on the mill the store and "
    "the printing apparatus that were promised for the spring meeting";

std::string base64(std::string_view bytes) {
  constexpr std::string_view alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size())
      group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    out += alphabet[group >> 18 & 63];
    out += alphabet[group >> 12 & 63];
    out += i + 1 < bytes.size() ? alphabet[group >> 6 & 63] : '=';
    out += i + 2 < bytes.size() ? alphabet[group & 63] : '=';
  }
  return out;
}

// The identity of person i, the same whenever it is asked for.
struct identity {
  std::string name;
  std::string mail;
  bool encoded;
};

identity person_identity(std::int64_t i, std::uint64_t seed) {
  random_bits bits(seed * 1'000'003 + static_cast<std::uint64_t>(i));
  identity who;
  who.encoded = bits.chance(5);
  const std::string_view first = bits.pick(given);
  const std::string_view last = bits.pick(surname);
  who.name = who.encoded ? std::string(bits.pick(accented))
                         : std::string(first) + " " + std::string(last);
  who.mail = std::string(first) + "." + std::string(last) + std::to_string(i) +
             "@example.com";
  for (char& c : who.mail)
    c = static_cast<char>(c | (c >= 'A' && c <= 'Z' ? 32 : 0));
  return who;
}

void line(std::ostream& out, std::string_view prefix, std::string_view value) {
  out << prefix << ": " << value << "\r\n";
}

// A description long enough to be folded at 76 columns, as exports do.
void folded_description(std::ostream& out, random_bits& bits) {
  const std::size_t start = bits.below(words.size() / 2);
  const std::string text = "description: " + std::string(words.substr(start)) +
                           " " + std::string(words.substr(0, start));
  out << text.substr(0, 76) << "\r\n";
  for (std::size_t at = 76; at < text.size(); at += 75) {
    out << ' ' << text.substr(at, 75) << "\r\n";
  }
}

void write_person(std::ostream& out, std::int64_t i, std::uint64_t seed) {
  const identity who = person_identity(i, seed);
  random_bits bits(seed ^ (static_cast<std::uint64_t>(i) << 20));
  out << "dn: cn=" << who.name << ",mail=" << who.mail << "\r\n";
  line(out, "modifytimestamp", "2001041" + std::to_string(i % 10) + "093000Z");
  if (who.encoded) {
    out << "cn:: " << base64(who.name) << "\r\n";
  } else {
    line(out, "cn", who.name);
  }
  if (bits.chance(60))
    line(out, "xmozillanickname", "nick" + std::to_string(i));
  line(out, "mail", who.mail);
  line(out, "xmozillausehtmlmail", bits.chance(50) ? "TRUE" : "FALSE");
  if (bits.chance(50)) line(out, "title", bits.pick(title));
  if (bits.chance(70)) line(out, "o", bits.pick(organization));
  if (bits.chance(50)) {
    line(out, "streetaddress",
         std::to_string(bits.below(999) + 1) + " High Street");
    line(out, "locality", bits.pick(city));
    line(out, "st", "XY");
    line(out, "postalcode", std::to_string(10000 + bits.below(89999)));
    line(out, "countryname", "United Kingdom");
  }
  const std::string phone =
      "+44 20 7946 " + std::to_string(1000 + bits.below(8999));
  line(out, "telephonenumber", phone);
  if (bits.chance(30)) line(out, "facsimiletelephonenumber", phone + "9");
  line(out, "xmozillaanyphone", phone);
  if (bits.chance(40)) folded_description(out, bits);
  if (bits.chance(3))
    out << "description:: " << base64("Line one\nLine two") << "\r\n";
  out << "objectclass: top\r\nobjectclass: person\r\n\r\n";
}

void write_list(std::ostream& out, std::int64_t list,
                const export_shape& shape) {
  random_bits bits(shape.seed * 7919 + static_cast<std::uint64_t>(list));
  const std::string name = "Mailing List " + std::to_string(list);
  out << "dn: cn=" << name << "\r\n";
  line(out, "cn", name);
  if (list % 2 == 0)
    line(out, "xmozillanickname", "list" + std::to_string(list));
  line(out, "description", "Generated list");
  out << "objectclass: top\r\nobjectclass: groupOfNames\r\n";
  for (std::int64_t m = 0; m < shape.members_per_list; ++m) {
    const auto person = static_cast<std::int64_t>(
        bits.below(static_cast<std::size_t>(shape.persons)));
    const identity who = person_identity(person, shape.seed);
    out << "member: cn=" << who.name << ",mail=" << who.mail << "\r\n";
  }
  out << "\r\n";
}

}  // namespace

void write_export(std::ostream& out, const export_shape& shape) {
  for (std::int64_t i = 0; i < shape.persons; ++i)
    write_person(out, i, shape.seed);
  if (shape.persons == 0) return;
  for (std::int64_t l = 0; l < shape.lists; ++l) write_list(out, l, shape);
}
