#include "document/Larkspur2006Doc.h"

void InitEqPreset(EqPreset& preset, float gain) {
    static const float kCentres[10] = {31, 82, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
    for (int i = 0; i < 10; ++i) preset.bands[i] = EqBand{kCentres[i], 18.0f, gain};
}

bool CLarkspur2006Doc::ApplyEqualizer() {
    if (!m_stream) {
        for (HFX& fx : m_eqFx) fx = 0;
        return false;
    }
    m_watch.InvalidatePeak();
    const auto preset = m_settings.eq.presets.find(m_settings.eq.selectedEq);
    for (int band = 0; band < 10; ++band) {
        HFX& fx = m_eqFx[band];
        if (m_settings.bass.enableEq) {
            if (!fx) fx = BASS_ChannelSetFX(m_stream, BASS_FX_DX8_PARAMEQ, 0);
            if (fx && preset != m_settings.eq.presets.end()) {
                const EqBand& b = preset->second.bands[band];
                const BASS_DX8_PARAMEQ parameters{b.centre, b.bandwidth, b.gain};
                BASS_FXSetParameters(fx, &parameters);
            }
        } else if (fx) {
            BASS_ChannelRemoveFX(m_stream, fx);
            fx = 0;
        }
    }
    return true;
}
