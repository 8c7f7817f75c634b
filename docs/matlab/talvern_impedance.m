function ax = talvern_impedance(varargin)
%TALVERN_IMPEDANCE  Plot impedance magnitude (log-log) and phase.
%
%   talvern_impedance(file)
%   talvern_impedance(f, z, phase)
%   ax = talvern_impedance(...)
%
%   Opens a new figure with two subplots: impedance magnitude in ohms
%   against frequency on log-log axes (upper) and phase in degrees against
%   frequency on a log frequency axis (lower), grids on. file is a 3-column
%   impedance export read with talvern_read; f (Hz), z (ohms) and phase
%   (degrees) are vectors of one length. ax holds the two axes handles
%   [magnitude; phase].
%
%   Example:
%     talvern_impedance('coil.dat');
%     [f, z, ph] = talvern_read('coil.dat');
%     [R, L] = talvern_fit_series(f, z, ph, 'RL');
%     ax = talvern_impedance(f, z, ph);
%     hold(ax(1), 'on');
%     loglog(ax(1), f, abs(R + 2i*pi*f*L), '--');
%
%   See also TALVERN_READ, TALVERN_FIT_SERIES, TALVERN_BODE.

[f, z, phase] = data_input('talvern_impedance', true, varargin{:});
if any(z <= 0)
    error('talvern_impedance: impedance magnitudes must be above 0 ohms for a logarithmic axis (is this a gain export in dB?)');
end
ax = plot_with_phase('Impedance', f, z, '|Z| (ohms)', true, phase);
if nargout == 0
    clear ax;
end
end
