function ax = plot_with_phase(name, f, upper, upperLabel, upperLog, phase)
%PLOT_WITH_PHASE  A new figure: upper curve over phase, both on a log frequency axis.
%   upperLog selects a logarithmic upper y axis (impedance magnitudes).
figure('Name', name);
upperAxes = subplot(2, 1, 1);
if upperLog
    loglog(f, upper);
else
    semilogx(f, upper);
end
grid on;
ylabel(upperLabel);
phaseAxes = subplot(2, 1, 2);
semilogx(f, phase);
grid on;
xlabel('Frequency (Hz)');
ylabel('Phase (deg)');
ax = [upperAxes; phaseAxes];
end
