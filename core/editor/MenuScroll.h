#pragma once
// Where the edit menu's list stands, as the fractional entry that sits at the pointer's row.
// Moving the pointer towards an edge moves that entry in proportion to what is left on that side,
// so the top row always reaches the first entry and the bottom row the last, however long the
// list; with nothing else moving it, the entry is simply the pointer's height scaled to the list.
// The wheel and the keys set it to a whole entry, and the pointer carries on from there.
// The list shows whole rows only: it moves a row at a time, never leaving one cut at an edge.
class MenuScroll {
public:
    // `row`: the pointer's height, 0 on the top row and 1 on the bottom row.
    MenuScroll(int count, float row);

    void Follow(float fromRow, float toRow);
    void Show(int entry); // clamped to the list
    void SetCount(int count);

    // The first of `rows` rows in sight, such that the entry at the pointer stands in the row
    // nearest the pointer (`row` as above, 0 at the first row's middle and 1 at the last row's).
    int FirstInSight(float row, int rows) const;

    double At() const { return at_; }
    int Nearest() const { return int(at_ + 0.5); }
    int Last() const { return count_ - 1; }

private:
    int count_;
    double at_ = 0.0;
};
