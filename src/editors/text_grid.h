// The text matrix of a grid as the page shows it; row 0 and column 0 hold the captions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nx5rb {

class TextGrid
{
public:
    TextGrid() = default;
    TextGrid(int rows, int cols)
        : rows_(rows)
        , cols_(cols)
        , cells_(std::size_t(rows * cols))
    { }

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    bool Contains(int row, int col) const
    {
        return row >= 0 && row < rows_ && col >= 0 && col < cols_;
    }

    // Cells outside the grid read as empty and ignore writes.
    const std::string &Text(int row, int col) const
    {
        static const std::string kEmpty;
        return Contains(row, col) ? cells_[Index(row, col)] : kEmpty;
    }
    void SetText(int row, int col, std::string_view text)
    {
        if (Contains(row, col))
            cells_[Index(row, col)] = std::string(text);
    }

    bool operator==(const TextGrid &) const = default;

private:
    std::size_t Index(int row, int col) const { return std::size_t(row * cols_ + col); }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<std::string> cells_;
};

} // namespace nx5rb
