function [R, X, text] = talvern_fit_series(varargin)
%TALVERN_FIT_SERIES  Fit a series R+L or R+C model to impedance data.
%
%   [R, L] = talvern_fit_series(f, z, phase, 'RL')
%   [R, C] = talvern_fit_series(f, z, phase, 'RC')
%   [R, X] = talvern_fit_series(file, model)
%   [R, X, text] = talvern_fit_series(..., 'relative')
%   [R, X, text] = talvern_fit_series(..., 'quiet')
%
%   f is the frequency in Hz, z the impedance magnitude in ohms and phase
%   its phase in degrees (an impedance export read with talvern_read, or
%   the file itself). The model is
%     'RL'   Z = R + j*2*pi*f*L          returns R (ohms) and L (henries)
%     'RC'   Z = R + 1/(j*2*pi*f*C)      returns R (ohms) and C (farads)
%
%   The fit is linear least squares on the complex impedance: R fits
%   real(Z), and L (or 1/C) fits imag(Z), which together minimise
%   sum(|Z - Zmodel|.^2). With 'relative' each point is weighted by
%   1/|Z|^2, so that a sweep over decades is not fitted only where |Z| is
%   largest.
%
%   The result is printed with SI prefixes, e.g. "R = 10.02 ohm, L = 10.02 mH",
%   unless 'quiet' is given; text returns the same line. A negative L or C
%   means the data does not look like the model chosen, and gives a
%   warning.
%
%   Example:
%     [f, z, ph] = talvern_read('coil.dat');
%     [R, L] = talvern_fit_series(f, z, ph, 'RL');
%     talvern_fit_series('capacitor.dat', 'RC');
%
%   See also TALVERN_READ, TALVERN_IMPEDANCE, TALVERN_COMPLEX.

args = varargin;
quiet = false;
relative = false;
while ~isempty(args) && ischar(args{end}) && any(strcmpi(args{end}, {'quiet', 'relative'}))
    if strcmpi(args{end}, 'quiet')
        quiet = true;
    else
        relative = true;
    end
    args(end) = [];
end
if numel(args) < 2 || ~ischar(args{end})
    error('talvern_fit_series: give the model, ''RL'' or ''RC'', e.g. talvern_fit_series(f, z, phase, ''RL'')');
end
modelText = args{end};
args(end) = [];
model = upper(modelText);
if ~any(strcmp(model, {'RL', 'RC'}))
    error('talvern_fit_series: unknown model ''%s''; use ''RL'' (series R and L) or ''RC'' (series R and C)', modelText);
end
if numel(args) ~= 1 && numel(args) ~= 3
    error('talvern_fit_series: usage is talvern_fit_series(f, z, phase, model) or talvern_fit_series(file, model)');
end
[f, z, phase] = data_input('talvern_fit_series', true, args{:});
if numel(f) < 2
    error('talvern_fit_series: at least 2 points are needed for a fit');
end
if any(z < 0) || any(~isfinite([f; z; phase]))
    error('talvern_fit_series: impedance magnitudes must be finite and not negative (is this a gain export in dB?)');
end

Z = talvern_complex(z, phase, 'linear');
w = 2 * pi * f;
if relative
    if any(z == 0)
        error('talvern_fit_series: a relative fit cannot weight a point where |Z| is 0');
    end
    weight = 1 ./ z .^ 2;
else
    weight = ones(size(z));
end
R = sum(weight .* real(Z)) / sum(weight);
if strcmp(model, 'RL')
    u = w;                      % imag(Z) = u * L
else
    u = -1 ./ w;                % imag(Z) = u * (1/C)
end
k = sum(weight .* u .* imag(Z)) / sum(weight .* u .^ 2);
if strcmp(model, 'RL')
    X = k;
    text = sprintf('R = %s, L = %s', si_text(R, 'ohm'), si_text(X, 'H'));
else
    X = 1 / k;
    text = sprintf('R = %s, C = %s', si_text(R, 'ohm'), si_text(X, 'F'));
end
if X < 0
    warning('talvern:fitSeries', ...
            'talvern_fit_series: the fitted %s is negative; the data does not look like a series %s circuit', ...
            model(2), model);
end
if ~quiet
    fprintf('%s\n', text);
end
end

function s = si_text(value, unit)
% value with four significant digits and an SI prefix: 0.01002 -> "10.02 m".
prefixes = {'f', 'p', 'n', 'u', 'm', '', 'k', 'M', 'G', 'T'};
if value == 0 || ~isfinite(value)
    s = sprintf('%g %s', value, unit);
    return;
end
e = floor(log10(abs(value)) / 3) * 3;
e = min(max(e, -15), 12);
mantissa = sprintf('%.4g', value / 10 ^ e);
if abs(str2double(mantissa)) >= 1000 && e < 12
    % Rounding reached the next prefix, e.g. 999.96e-3 -> 1 rather than 1000 m.
    e = e + 3;
    mantissa = sprintf('%.4g', value / 10 ^ e);
end
s = sprintf('%s %s%s', mantissa, prefixes{e / 3 + 6}, unit);
end
