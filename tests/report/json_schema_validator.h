// A small JSON Schema validator for the tests: the subset of draft 2020-12
// that docs/chart.schema.json uses. A schema keyword outside that subset is
// reported as a problem rather than ignored, so the schema cannot grow a
// rule the tests silently skip.
#pragma once

#include <cmath>
#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace xuanshu::testing {

class JsonSchemaValidator {
 public:
  using Json = nlohmann::json;

  explicit JsonSchemaValidator(Json schema) : root_(std::move(schema)) {}

  // Every problem found, each "path: what"; empty when the value is valid.
  std::vector<std::string> Problems(const Json& value) const {
    std::vector<std::string> problems;
    Check(root_, value, "$", problems, 0);
    return problems;
  }
  bool Accepts(const Json& value) const { return Problems(value).empty(); }

 private:
  // Keywords that only annotate.
  static bool IsAnnotation(std::string_view keyword) {
    static const std::set<std::string_view> kAnnotations = {
        "$schema", "$id", "$defs", "$comment", "title", "description", "examples", "default"};
    return kAnnotations.contains(keyword);
  }

  static bool HasType(const Json& value, std::string_view type) {
    if (type == "null") return value.is_null();
    if (type == "boolean") return value.is_boolean();
    if (type == "string") return value.is_string();
    if (type == "object") return value.is_object();
    if (type == "array") return value.is_array();
    if (type == "number") return value.is_number();
    if (type == "integer") {
      // A number without a fractional part, however it is written.
      return value.is_number_integer() ||
             (value.is_number_float() && std::floor(value.get<double>()) == value.get<double>());
    }
    return false;
  }

  // Length in Unicode code points of a UTF-8 string.
  static std::size_t CodePoints(const std::string& utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
    return count;
  }

  const Json* Resolve(const std::string& ref) const {
    const std::string prefix = "#/$defs/";
    if (!ref.starts_with(prefix)) return nullptr;
    const auto defs = root_.find("$defs");
    if (defs == root_.end()) return nullptr;
    const auto target = defs->find(ref.substr(prefix.size()));
    return target == defs->end() ? nullptr : &*target;
  }

  void Check(const Json& schema, const Json& value, const std::string& path,
             std::vector<std::string>& problems, int depth) const {
    const auto fail = [&](const std::string& what) { problems.push_back(path + ": " + what); };
    if (depth > 64) return fail("schema nests too deeply");
    if (schema.is_boolean()) {
      if (!schema.get<bool>()) fail("no value is allowed here");
      return;
    }
    if (!schema.is_object()) return fail("schema is neither an object nor a boolean");
    for (const auto& [keyword, rule] : schema.items()) {
      if (IsAnnotation(keyword)) continue;
      if (keyword == "$ref") {
        const Json* target = Resolve(rule.get<std::string>());
        if (target == nullptr) {
          fail("unresolved $ref " + rule.get<std::string>());
        } else {
          Check(*target, value, path, problems, depth + 1);
        }
      } else if (keyword == "type") {
        bool matches = false;
        if (rule.is_string()) {
          matches = HasType(value, rule.get<std::string>());
        } else {
          for (const Json& type : rule)
            matches = matches || HasType(value, type.get<std::string>());
        }
        if (!matches) fail("type " + std::string(value.type_name()) + " is not " + rule.dump());
      } else if (keyword == "const") {
        if (value != rule) fail(value.dump() + " is not " + rule.dump());
      } else if (keyword == "enum") {
        bool found = false;
        for (const Json& allowed : rule) found = found || value == allowed;
        if (!found) fail(value.dump() + " is not one of " + rule.dump());
      } else if (keyword == "anyOf") {
        bool any = false;
        for (const Json& option : rule) {
          std::vector<std::string> optionProblems;
          Check(option, value, path, optionProblems, depth + 1);
          any = any || optionProblems.empty();
        }
        if (!any) fail("matches none of anyOf");
      } else if (keyword == "minimum" || keyword == "maximum") {
        if (!value.is_number()) continue;
        const double v = value.get<double>(), bound = rule.get<double>();
        if (keyword == "minimum" ? v < bound : v > bound) fail(keyword + " " + rule.dump());
      } else if (keyword == "minLength" || keyword == "maxLength") {
        if (!value.is_string()) continue;
        const std::size_t length = CodePoints(value.get<std::string>());
        const auto bound = rule.get<std::size_t>();
        if (keyword == "minLength" ? length < bound : length > bound) {
          fail(keyword + " " + rule.dump() + ", length " + std::to_string(length));
        }
      } else if (keyword == "minItems" || keyword == "maxItems") {
        if (!value.is_array()) continue;
        const auto bound = rule.get<std::size_t>();
        if (keyword == "minItems" ? value.size() < bound : value.size() > bound) {
          fail(keyword + " " + rule.dump() + ", items " + std::to_string(value.size()));
        }
      } else if (keyword == "items") {
        if (!value.is_array()) continue;
        for (std::size_t i = 0; i < value.size(); ++i) {
          Check(rule, value[i], path + "[" + std::to_string(i) + "]", problems, depth + 1);
        }
      } else if (keyword == "required") {
        if (!value.is_object()) continue;
        for (const Json& name : rule) {
          if (!value.contains(name.get<std::string>())) fail("missing " + name.dump());
        }
      } else if (keyword == "properties") {
        if (!value.is_object()) continue;
        for (const auto& [name, member] : value.items()) {
          if (rule.contains(name))
            Check(rule[name], member, path + "." + name, problems, depth + 1);
        }
      } else if (keyword == "additionalProperties") {
        if (!value.is_object()) continue;
        const auto properties = schema.find("properties");
        for (const auto& [name, member] : value.items()) {
          if (properties != schema.end() && properties->contains(name)) continue;
          Check(rule, member, path + "." + name, problems, depth + 1);
        }
      } else {
        fail("schema keyword " + keyword + " is not supported by this validator");
      }
    }
  }

  Json root_;
};

}  // namespace xuanshu::testing
