// The rows of the Info tab: caption, label name, and where the text comes
// from. The tab is built from this table and refreshed through it.
#pragma once

#include <string>

#include "MainWidgets.h"
#include "appcore/MainState.h"

namespace tvlc {

struct TInfoField {
  const char* Caption;
  const char* LabelName;
  std::string TInfoTexts::*Text;
  QLabel* TInfoLabels::*Label;
};

inline constexpr TInfoField kInfoFields[] = {
    {"ID", "IDLab", &TInfoTexts::IDLab, &TInfoLabels::IDLab},
    {"X", "XLab", &TInfoTexts::XLab, &TInfoLabels::XLab},
    {"Y", "YLab", &TInfoTexts::YLab, &TInfoLabels::YLab},
    {"Width", "RWLab", &TInfoTexts::RWLab, &TInfoLabels::RWLab},
    {"Height", "RHLab", &TInfoTexts::RHLab, &TInfoLabels::RHLab},
    {"Rounded Width", "WLab", &TInfoTexts::WLab, &TInfoLabels::WLab},
    {"Rounded Height", "HLab", &TInfoTexts::HLab, &TInfoLabels::HLab},
    {"Rounding Slack", "SlackLab", &TInfoTexts::SlackLab, &TInfoLabels::SlackLab},
    {"Points in shape", "PCLab", &TInfoTexts::PCLab, &TInfoLabels::PCLab},
    {"Total slack", "TSLab", &TInfoTexts::TSLab, &TInfoLabels::TSLab},
    {"Spectrum avaliable", "SpecAvalLab", &TInfoTexts::SpecAvalLab, &TInfoLabels::SpecAvalLab},
    {"Iterations done", "IterDoneLab", &TInfoTexts::IterDoneLab, &TInfoLabels::IterDoneLab},
    {"Current PSNR [dB]", "CurrPSNRLab", &TInfoTexts::CurrPSNRLab, &TInfoLabels::CurrPSNRLab},
    {"Quantization", "QuantLab", &TInfoTexts::QuantLab, &TInfoLabels::QuantLab},
    {"Normalization", "NormTypeLab", &TInfoTexts::NormTypeLab, &TInfoLabels::NormTypeLab},
};

}  // namespace tvlc
