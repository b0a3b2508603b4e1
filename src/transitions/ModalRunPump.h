#pragma once

// The messages a modal transition lets through: the timer window's ticks
// (queued actions fall due meanwhile) and the wave player's buffer returns
// (playback goes on). Escape and the close box are looked at without being
// taken: they end the run when the publication lets them exit, and stay
// queued for the main loop.
class ModalRunPump {
public:
  // How long a pass waits for a message when nothing is waiting.
  static constexpr unsigned long kWaitMs = 2;
  static constexpr unsigned kWaveOutDone = 0x3BD; // MM_WOM_DONE

  ModalRunPump();
  // Whether a waiting Escape or close command ends the run.
  bool ExitRequested() const;
  // Waits a little, then runs the waiting timer-window ticks and one
  // returned wave buffer.
  void Pump();

private:
  bool m_escapeExits;
  bool m_closeBoxExits;
};
