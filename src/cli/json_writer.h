// A small JSON writer that keeps keys in the order they are written.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nx5rb::cli {

class JsonWriter
{
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view key);
    void String(std::string_view value);
    void Int(long long value);
    void Null();
    void OptionalInt(std::optional<int> value);
    void IntArray(const std::vector<int> &values); // on one line
    void StringArray(const std::vector<std::string> &values);

    // The document, ending with a newline.
    std::string Text() const { return text_ + "\n"; }

    static std::string Quote(std::string_view value);

private:
    void BeforeValue();
    void NewLine();

    struct Level
    {
        bool isObject = false;
        bool empty = true;
    };
    std::string text_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

} // namespace nx5rb::cli
