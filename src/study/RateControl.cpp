#include "study/RateControl.h"

#include <limits>
#include <map>

#include "study/RdStudy.h"

namespace tvlc {

namespace {

double PsnrOf(const TRdRow& row) {
  return row.Psnr ? *row.Psnr : std::numeric_limits<double>::infinity();
}

uint64_t BytesOf(const TRdRow& row) { return row.TextureBytes + row.MapBytes; }

bool Meets(const TRdRow& row, const TRateSearch& search) {
  return search.Goal == TRateGoal::WithinBpp ? row.Bpp <= search.Target
                                             : PsnrOf(row) >= search.Target;
}

}  // namespace

std::vector<double> RateSearchLevels() { return PsnrRange(15.0, 50.0, 0.25); }

bool BetterForGoal(const TRdRow& a, const TRdRow& b, TRateGoal goal) {
  if (goal == TRateGoal::WithinBpp)
    return PsnrOf(a) > PsnrOf(b) || (PsnrOf(a) == PsnrOf(b) && BytesOf(a) < BytesOf(b));
  return BytesOf(a) < BytesOf(b) || (BytesOf(a) == BytesOf(b) && PsnrOf(a) > PsnrOf(b));
}

TRateChoice SearchRate(TRegionCoder& coder, const TRateSearch& search) {
  TRateChoice choice;
  const size_t count = coder.Levels().size();
  for (int quality : search.Qualities)
    for (int norm : search.Norms) {
      std::map<size_t, TRdRow> measured;
      const auto at = [&](size_t level) -> const TRdRow* {
        auto found = measured.find(level);
        if (found != measured.end()) return &found->second;
        TRdRow row;
        choice.Error = coder.Measure(level, quality, norm, false, row);
        if (!choice.Error.empty()) return nullptr;
        ++choice.Tried;
        return &measured.emplace(level, row).first->second;
      };
      // Within a budget the last level that meets it, for a PSNR the first.
      const bool wantLast = search.Goal == TRateGoal::WithinBpp;
      size_t low = 0, high = count;  // the boundary lies in [low, high]
      while (low < high) {
        const size_t middle = low + (high - low) / 2;
        const TRdRow* row = at(middle);
        if (!row) return choice;
        if (Meets(*row, search) == wantLast)
          low = middle + 1;
        else
          high = middle;
      }
      // wantLast: levels below `low` meet the budget; otherwise `low` is the
      // first that reaches the PSNR.
      if (wantLast ? low == 0 : low == count) continue;
      const TRdRow* row = at(wantLast ? low - 1 : low);
      if (!row) return choice;
      if (Meets(*row, search) &&
          (!choice.Chosen || BetterForGoal(*row, *choice.Chosen, search.Goal)))
        choice.Chosen = *row;
    }
  return choice;
}

}  // namespace tvlc
