#pragma once
// A user who answers every question from bytes of the fuzzer's input, two bits at
// a time, and whose parameter sheet may change the instrument type and the mean
// height (down to heights where the reduction is no longer a number).

#include "base/ConversionSettings.h"
#include "base/Prompter.h"

class InputPrompter : public Prompter {
public:
    InputPrompter(quint16 answers, quint8 sheet) : m_answers(answers), m_sheet(sheet) {}

    Answer Ask(Topic, const QByteArray&, MessageButtons buttons, MessageIcon) override {
        if (buttons == MessageButtons::Ok) return Answer::Ok;
        const Answer answer = static_cast<Answer>(m_answers & 3);
        m_answers = static_cast<quint16>((m_answers >> 2) | (m_answers << 14));
        if (answer == Answer::Cancel && buttons != MessageButtons::YesNoCancel) return Answer::No;
        return answer == Answer::Ok ? Answer::Yes : answer;
    }

    bool RunParameterSheet(ConversionSettings& settings) override {
        if (m_sheet & 1) settings.deviceType = m_sheet & 2 ? DeviceType::Nts660 : DeviceType::Nts350;
        if (m_sheet & 4) settings.jobAverageHeightMetres = m_sheet & 8 ? -3188698.58 : -1.0e7;
        return (m_sheet & 16) != 0;
    }

private:
    quint16 m_answers;
    quint8 m_sheet;
};
